#include "platform/runtime/variables.h"

#include <gtest/gtest.h>

#include "platform/runtime/number.h"
#include "platform/runtime/procedures.h"
#include "platform/runtime/session.h"

namespace qv::rt {
namespace {

TEST(VariablesTest, PublicWithoutValueIsFalseAndKeepsAnExistingValue) {
  Session s(Clock::Frozen(Date::FromYmd(2026, 1, 2), 0));
  Value& hdc = s.DeclarePublic("hdc");
  ASSERT_TRUE(hdc.IsLogical());
  EXPECT_FALSE(hdc.logical());
  hdc = Value("x");
  EXPECT_EQ(s.DeclarePublic("HDC").str(), "x");
  ASSERT_NE(s.Find("Hdc"), nullptr);
  EXPECT_EQ(s.Find("Hdc"), &hdc);
  EXPECT_EQ(s.Find("NOSUCH"), nullptr);
}

TEST(VariablesTest, PrivatesAreVisibleToCalleesAndGoneAfterReturn) {
  Session s(Clock::Frozen(Date::FromYmd(2026, 1, 2), 0));
  s.DeclarePublic("XXCO") = Value("1.co\\");
  bool seen_in_callee = false;
  s.procedures().Register("inner", [&](Session& session, std::span<Value>) {
    const Value* own = session.Find("OWN");
    seen_in_callee = own != nullptr && own->str() == "outer's";
    // Assigning a name nobody has creates a private of this routine.
    session.Assign("TEMP", Value("inner's"));
    // Assigning a visible one changes it in place.
    session.Assign("xxco", Value("2.co\\"));
    EXPECT_NE(session.Find("TEMP"), nullptr);
    return Value();
  });
  s.procedures().Register("outer", [](Session& session, std::span<Value>) {
    session.DeclarePrivate("own", Value("outer's"));
    Call(session, "INNER", {});
    EXPECT_EQ(session.Find("TEMP"), nullptr);  // the callee's private died with it
    return Value(session.Find("OWN") != nullptr);
  });
  EXPECT_TRUE(Call(s, "outer", {}).logical());
  EXPECT_TRUE(seen_in_callee);
  EXPECT_EQ(s.Find("OWN"), nullptr);
  EXPECT_EQ(s.Find("XXCO")->str(), "2.co\\");
}

TEST(VariablesTest, APrivateHidesTheOuterVariableUntilItsRoutineReturns) {
  Session s(Clock::Frozen(Date::FromYmd(2026, 1, 2), 0));
  s.DeclarePublic("X") = Value::Int(1);
  s.procedures().Register("SHADOW", [](Session& session, std::span<Value>) {
    session.DeclarePrivate("x", Value::Int(2));
    session.Assign("X", Value::Int(3));  // the private, not the public
    return *session.Find("X");
  });
  EXPECT_EQ(Call(s, "SHADOW", {}).num(), 3);
  EXPECT_EQ(s.Find("X")->num(), 1);
}

TEST(VariablesTest, ReleaseUncoversTheOuterVariable) {
  Variables v;
  v.DeclarePublic("A") = Value("public");
  v.PushScope();
  v.DeclarePrivate("A", Value("private"));
  EXPECT_EQ(v.Find("a")->str(), "private");
  EXPECT_TRUE(v.Release("a"));
  EXPECT_EQ(v.Find("a")->str(), "public");
  EXPECT_TRUE(v.Release("a"));
  EXPECT_EQ(v.Find("a"), nullptr);
  EXPECT_FALSE(v.Release("a"));
  v.PopScope();
}

TEST(VariablesTest, VisibleListsEachNameOnceAndReleaseMatchingKeepsOuterScopes) {
  Variables v;
  v.DeclarePublic("RENTA") = Value::Int(1);
  v.DeclarePrivate("RENTB", Value::Int(2));
  v.PushScope();
  v.DeclarePrivate("renta", Value::Int(3));
  v.DeclarePrivate("OTHER", Value::Int(4));
  auto visible = v.Visible();
  ASSERT_EQ(visible.size(), 3u);
  EXPECT_EQ(visible[0].first, "OTHER");
  EXPECT_EQ(visible[1].first, "RENTA");
  EXPECT_EQ(visible[1].second->num(), 3);
  EXPECT_EQ(visible[2].first, "RENTB");

  v.ReleaseMatching("rent*", /*except=*/false);
  EXPECT_EQ(v.Find("RENTA")->num(), 1);  // the public shows again
  EXPECT_NE(v.Find("OTHER"), nullptr);
  v.ReleaseMatching("rent*", /*except=*/true);
  EXPECT_EQ(v.Find("OTHER"), nullptr);
  EXPECT_NE(v.Find("RENTB"), nullptr);  // an outer routine's private stays
  v.PopScope();
}

TEST(VariablesTest, PointersSurviveScopesComingAndGoing) {
  Variables v;
  Value* base = &v.DeclarePrivate("BASE", Value("kept"));
  for (int i = 0; i < 100; ++i) {
    v.PushScope();
    v.DeclarePrivate("LEVEL", Value::Int(i));
  }
  for (int i = 0; i < 100; ++i) v.PopScope();
  EXPECT_EQ(base, v.Find("BASE"));
  EXPECT_EQ(base->str(), "kept");
}

}  // namespace
}  // namespace qv::rt
