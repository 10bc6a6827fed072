// Code blocks, macros, calls of registered routines with by-reference
// arguments, and private/public variables seen through calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/procedures.h"
#include "platform/xbase/value_text.h"
#include "xbase_testing.h"

namespace qv::xb {
namespace {

using BlocksTest = testing::ExprTest;

TEST_F(BlocksTest, ParametersAndClosures) {
  EXPECT_EQ(Show("EVAL({|a, b| a + b}, 1, 2)"), "N\t3");
  EXPECT_EQ(Show("EVAL({|a, b| b}, 1)"), "U\tNIL");   // missing arguments are NIL
  EXPECT_EQ(Show("EVAL({|a| a}, 1, 2, 3)"), "N\t1");  // extra ones are dropped
  EXPECT_EQ(Show("EVAL({|| 1, 2, 3})"), "N\t3");
  EXPECT_EQ(Show("EVAL({||})"), "U\tNIL");
  EXPECT_EQ(Show("EVAL({|x| x := x * 2, x + 1}, 5)"), "N\t11");
  // The inner block keeps the outer block's parameter after that call ended.
  EXPECT_EQ(Show("adder := EVAL({|n| {|x| x + n}}, 10), EVAL(adder, 5)"), "N\t15");
  // A parameter hides a variable of the same name.
  session_.Assign("P", rt::Value("var"));
  EXPECT_EQ(Show("EVAL({|p| p}, \"param\") + P"), "C\tparamvar");
}

TEST_F(BlocksTest, BlockMadeFromTextIsCallableLater) {
  std::vector<rt::Value> seen;
  session_.procedures().Register("CHECK_PASS", [&](rt::Session&, std::span<rt::Value> args) {
    seen.assign(args.begin(), args.end());
    return rt::Value(true);
  });
  // A menu action with the record number appended, as the menu builder does.
  std::string action = "{|| CHECK_PASS(\"INSTALL_S\")}";
  action = action.substr(0, action.size() - 2) + ",        12)}";
  testing::Outcome made = testing::Evaluate(host_, action);
  ASSERT_TRUE(made.ok) << made.error;
  ASSERT_TRUE(made.value.IsBlock());
  EXPECT_EQ(made.value.block()->Text(), action);
  EXPECT_TRUE(seen.empty());  // nothing runs until the block is called

  rt::Value result = made.value.block()->Call(session_, {});
  EXPECT_TRUE(result.IsLogical() && result.logical());
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].str(), "INSTALL_S");
  EXPECT_EQ(seen[1].num(), 12);
}

TEST_F(BlocksTest, ProceduresAndByReferenceArguments) {
  session_.procedures().Register("BUMP", [](rt::Session&, std::span<rt::Value> args) {
    args[0] = rt::Value::Int(static_cast<int64_t>(args[0].num()) + 1);
    return rt::Value();
  });
  EXPECT_EQ(Show("n := 1, BUMP(@n), n"), "N\t2");
  EXPECT_EQ(Show("n := 1, BUMP(n), n"), "N\t1");
  EXPECT_EQ(Show("bump(@n), Bump(@n), n"), "N\t3");  // names in any case
}

TEST_F(BlocksTest, PrivatesAreSeenByWhatTheRoutineEvaluates) {
  // A routine makes its arguments variables of its own and evaluates a text
  // that uses them, as a message text held in data does.
  session_.procedures().Register("SHOW_MSG", [&](rt::Session& s, std::span<rt::Value> args) {
    s.DeclarePrivate("EMESSAGE", args[0]);
    return EvalText(host_, "\"Note: \" + EMESSAGE");
  });
  EXPECT_EQ(Show("SHOW_MSG(\"disk full\")"), "C\tNote: disk full");
  EXPECT_EQ(session_.Find("EMESSAGE"), nullptr);  // gone with the call

  session_.DeclarePublic("LEVEL") = rt::Value::Int(1);
  session_.procedures().Register("INNER", [&](rt::Session& s, std::span<rt::Value>) {
    s.DeclarePrivate("LEVEL", rt::Value::Int(2));
    rt::Value seen = EvalText(host_, "LEVEL");
    EvalText(host_, "CREATED := 5");  // an unknown name becomes a private
    return seen;
  });
  EXPECT_EQ(Show("INNER()"), "N\t2");
  EXPECT_EQ(Show("LEVEL"), "N\t1");
  EXPECT_EQ(session_.Find("CREATED"), nullptr);
}

TEST_F(BlocksTest, Macros) {
  session_.Assign("FORMULA", rt::Value("1 + 2"));
  session_.Assign("VNAME", rt::Value("TARGET"));
  EXPECT_EQ(Show("&FORMULA * 2"), "N\t6");  // the macro is one operand
  EXPECT_EQ(Show("&(\"UPPER('a')\")"), "C\tA");
  EXPECT_EQ(Show("&VNAME := 42, TARGET"), "N\t42");
  EXPECT_EQ(Show("&VNAME."), "N\t42");
  session_.Assign("BAD", rt::Value("1 +"));
  EXPECT_NE(Show("&BAD").find("Syntax error in macro"), std::string::npos);
  session_.Assign("NUM", rt::Value::Int(1));
  EXPECT_NE(Show("&NUM").find("macro text expected"), std::string::npos);
}

TEST_F(BlocksTest, RunawayRecursionIsAnErrorNotACrash) {
  EXPECT_NE(Show("b := {|| EVAL(b)}, EVAL(b)").find("nested too deeply"), std::string::npos);
  session_.Assign("SELF", rt::Value("&SELF"));
  EXPECT_NE(Show("&SELF").find("nested too deeply"), std::string::npos);
  EXPECT_EQ(host_.eval_depth, 0);
  // The session stays usable afterwards.
  EXPECT_EQ(Show("1 + 1"), "N\t2");
}

}  // namespace
}  // namespace qv::xb
