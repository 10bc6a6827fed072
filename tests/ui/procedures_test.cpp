#include "ui/procedures.h"

#include <gtest/gtest.h>

#include "platform/runtime/session.h"
#include "ui/colors.h"
#include "ui_fixture.h"

namespace qv::ui {
namespace {

using testing::UiFixture;

class UiProceduresTest : public ::testing::Test {
 protected:
  UiProceduresTest() { RegisterUiProcedures(session.procedures(), f.gui); }
  rt::Value Call(std::string_view name, std::initializer_list<rt::Value> args) {
    return rt::Call(session, name, args);
  }
  UiFixture f;
  rt::Session session;
};

TEST_F(UiProceduresTest, EveryRoutineIsRegistered) {
  for (const char* name : {"MSGGET", "MSGGETCH", "MSGGETSTART", "MSGINFORMATION", "MSGWAIT",
                           "HHCTRL", "LISTSELALL", "Y_N", "T_F", "PROPER", "DOTS"}) {
    EXPECT_TRUE(session.procedures().Contains(name)) << name;
  }
  for (std::string_view name : kColorSchemeNames) {
    EXPECT_EQ(Call(name, {}).str(), "") << name;
  }
}

TEST_F(UiProceduresTest, MsgGetWritesTheByReferenceArgument) {
  f.Queue("value 7");
  f.Queue("ok");
  std::vector<rt::Value> args{rt::Value("Qty"), rt::Value("How many"), rt::Value::Int(1)};
  EXPECT_TRUE(rt::Call(session, "MSGGET", std::span<rt::Value>(args)).logical());
  EXPECT_DOUBLE_EQ(args[2].num(), 7);
  f.Queue("cancel");
  EXPECT_FALSE(rt::Call(session, "MSGGET", std::span<rt::Value>(args)).logical());
  EXPECT_DOUBLE_EQ(args[2].num(), 7);
}

TEST_F(UiProceduresTest, MsgGetUsesTheEntryFontVariable) {
  session.DeclarePublic("OFONTMS12") =
      rt::Value(std::make_shared<gui::FontObject>(gui::Font{"Ms Sans Serif", 0, -12, true}));
  std::vector<rt::Value> args{rt::Value("T"), rt::Value(), rt::Value("abc")};
  EXPECT_TRUE(rt::Call(session, "MSGGET", std::span<rt::Value>(args)).logical());
}

TEST_F(UiProceduresTest, ListSelAllFlipsItsByReferenceFlag) {
  auto dialog = f.gui.NewDialog("DX").value();
  dialog->Find(101)->items = {"a", "b"};
  rt::Value list(std::make_shared<gui::ControlHandle>(dialog, 101));
  std::vector<rt::Value> args{list, rt::Value::Array({rt::Value("a"), rt::Value("b")}),
                              rt::Value()};
  rt::Call(session, "LISTSELALL", std::span<rt::Value>(args));  // NIL flag counts as true
  EXPECT_FALSE(args[2].logical());
  EXPECT_EQ(dialog->Find(101)->Selections(), (std::vector<int>{1, 2}));
  rt::Call(session, "LISTSELALL", std::span<rt::Value>(args));
  EXPECT_TRUE(args[2].logical());
  EXPECT_TRUE(dialog->Find(101)->Selections().empty());
}

TEST_F(UiProceduresTest, TextHelpersByName) {
  EXPECT_EQ(Call("Y_N", {rt::Value(true)}).str(), "Y");
  EXPECT_TRUE(Call("T_F", {rt::Value("Yes")}).logical());
  EXPECT_FALSE(Call("T_F", {rt::Value::Int(1)}).logical());
  EXPECT_EQ(Call("PROPER", {rt::Value("main st nw")}).str(), "Main St NW");
  EXPECT_EQ(Call("DOTS", {rt::Value("A B")}).str(), "A.B");
}

TEST_F(UiProceduresTest, YNOfANonLogicalIsAnArgumentError) {
  try {
    Call("Y_N", {rt::Value("Y")});
    FAIL() << "expected a run-time error";
  } catch (const rt::RuntimeError& e) {
    EXPECT_EQ(e.info().description, "Argument error");
    EXPECT_EQ(e.info().operation, "Y_N");
  }
}

TEST_F(UiProceduresTest, MsgWaitAndMsgInformationByName) {
  EXPECT_TRUE(Call("MSGWAIT", {}).IsNil());
  EXPECT_TRUE(Call("MSGINFORMATION", {rt::Value("hi")}).logical());
  EXPECT_EQ(f.Lines(), (std::vector<std::string>{"NOTE\tWAIT!\tWaiting for 2 seconds.\t2",
                                                 "MESSAGE\tinformation\tInformation\thi"}));
}

}  // namespace
}  // namespace qv::ui
