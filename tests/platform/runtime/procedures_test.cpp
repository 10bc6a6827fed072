#include "platform/runtime/procedures.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/runtime/number.h"
#include "platform/runtime/session.h"

namespace qv::rt {
namespace {

// Answers every error with one choice and counts the calls.
class FixedHandler : public ErrorHandler {
 public:
  explicit FixedHandler(ErrorChoice choice) : choice_(choice) {}
  ErrorChoice Handle(const ErrorInfo& info) override {
    last = info;
    ++calls;
    return choice_;
  }
  ErrorInfo last;
  int calls = 0;

 private:
  ErrorChoice choice_;
};

class ProceduresTest : public ::testing::Test {
 protected:
  Session s{Clock::Frozen(Date::FromYmd(2026, 1, 2), 0)};
};

TEST_F(ProceduresTest, MissingArgumentsAreNilAndByReferenceArgumentsComeBack) {
  // MSGGET-like: fills its third argument when given one.
  s.procedures().Register("Fill", [](Session&, std::span<Value> args) {
    if (args.size() >= 3) args[2] = Value("answer");
    return Value(args.size() >= 2 && args[1].IsNil());
  });
  std::vector<Value> args = {Value("title"), Value(), Value("old")};
  EXPECT_TRUE(Call(s, "FILL", args).logical());
  EXPECT_EQ(args[2].str(), "answer");
  // By value: the caller's copy is untouched.
  Value mine("old");
  Call(s, "fill", {Value("t"), Value(), mine});
  EXPECT_EQ(mine.str(), "old");
  EXPECT_FALSE(Call(s, "fill", {Value("only one")}).logical());
}

TEST_F(ProceduresTest, ParametersBecomePrivatesAndCanBeWrittenBack) {
  s.DeclarePublic("A") = Value("public");
  s.procedures().Register("TWICE", [](Session& session, std::span<Value> args) {
    BindParameters(session, args, {"a", "b"});
    EXPECT_TRUE(session.Find("B")->IsNil());
    session.Assign("A", Value(session.Find("A")->str() + session.Find("A")->str()));
    WriteBackParameters(session, args, {"a", "b"});
    return Value();
  });
  std::vector<Value> args = {Value("ab")};
  Call(s, "twice", args);
  EXPECT_EQ(args[0].str(), "abab");
  EXPECT_EQ(args.size(), 1u);
  EXPECT_EQ(s.Find("A")->str(), "public");  // the parameter hid it only during the call
}

TEST_F(ProceduresTest, FramesListInnermostFirstAndArePoppedOnUnwind) {
  std::vector<CallFrame> seen;
  s.procedures().Register("USIT", [&](Session& session, std::span<Value>) {
    seen = session.Frames();
    ErrorInfo info;
    info.description = "Open error";
    throw RuntimeError(info);
    return Value();
  });
  int call_line = 0;
  s.procedures().Register("MSB_F", [&](Session& session, std::span<Value>) {
    call_line = __LINE__ + 1;
    return Call(session, "usit", {});
  });
  EXPECT_THROW(Call(s, "msb_f", {}, 77), RuntimeError);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].procedure, "USIT");
  EXPECT_EQ(seen[0].line, call_line);
  EXPECT_EQ(seen[1].procedure, "MSB_F");
  EXPECT_EQ(seen[1].line, 77);
  EXPECT_TRUE(s.Frames().empty());
  EXPECT_EQ(s.vars().depth(), 1u);
}

TEST_F(ProceduresTest, UndefinedProcedureGoesToTheErrorHandler) {
  FixedHandler defaulting(ErrorChoice::kDefault);
  s.SetErrorHandler(&defaulting);
  EXPECT_TRUE(Call(s, "NOSUCH", {}).IsNil());
  EXPECT_EQ(defaulting.calls, 1);
  EXPECT_EQ(defaulting.last.operation, "NOSUCH");

  FixedHandler quitting(ErrorChoice::kQuit);
  s.SetErrorHandler(&quitting);
  s.settings().exit_code = 3;
  try {
    Call(s, "NOSUCH", {});
    FAIL() << "no QuitRequest";
  } catch (const QuitRequest& quit) {
    EXPECT_EQ(quit.exit_code, 3);
  }
}

// Retry looks the name up again: here the handler registers it meanwhile.
TEST_F(ProceduresTest, RetryFindsAProcedureRegisteredMeanwhile) {
  class Registering : public ErrorHandler {
   public:
    explicit Registering(Session& session) : session_(session) {}
    ErrorChoice Handle(const ErrorInfo&) override {
      session_.procedures().Register("LATE",
                                     [](Session&, std::span<Value>) { return Value::Int(7); });
      return ErrorChoice::kRetry;
    }

   private:
    Session& session_;
  } handler(s);
  s.SetErrorHandler(&handler);
  EXPECT_EQ(Call(s, "late", {}).num(), 7);
}

TEST_F(ProceduresTest, NamesAreCaseInsensitiveAndReplaceable) {
  s.procedures().Register("Seekit", [](Session&, std::span<Value>) { return Value::Int(1); });
  s.procedures().Register("SEEKIT", [](Session&, std::span<Value>) { return Value::Int(2); });
  EXPECT_EQ(s.procedures().Names(), std::vector<std::string>{"SEEKIT"});
  EXPECT_EQ(Call(s, "seekit", {}).num(), 2);
  EXPECT_FALSE(s.procedures().Contains("SEEK"));
}

}  // namespace
}  // namespace qv::rt
