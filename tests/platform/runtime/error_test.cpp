#include "platform/runtime/error.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/runtime/session.h"

namespace qv::rt {
namespace {

// Answers with the choices given, in order, and records what it was asked.
class ScriptedHandler : public ErrorHandler {
 public:
  explicit ScriptedHandler(std::vector<ErrorChoice> answers) : answers_(std::move(answers)) {}
  ErrorChoice Handle(const ErrorInfo& info) override {
    asked.push_back(info);
    return answers_.at(asked.size() - 1);
  }
  std::vector<ErrorInfo> asked;

 private:
  std::vector<ErrorChoice> answers_;
};

ErrorInfo CopyError(const Status& status) {
  ErrorInfo info;
  info.description = "Open error";
  info.operation = "C:\\SETUP\\EXE\\CTL3D.DLL";
  info.os_code = status.IsNotFound() ? 2 : 0;
  return info;
}

class ErrorTest : public ::testing::Test {
 protected:
  // Fails until attempts_to_success calls have been made.
  std::function<Status()> Operation(int attempts_to_success) {
    return [this, attempts_to_success] {
      return ++attempts < attempts_to_success ? Status::NotFound("ctl3d.dll") : Status::OK();
    };
  }
  Session s{Clock::Frozen(Date::FromYmd(2026, 1, 2), 0)};
  int attempts = 0;
};

TEST_F(ErrorTest, RetryRepeatsTheOperationUntilItSucceeds) {
  ScriptedHandler handler({ErrorChoice::kRetry, ErrorChoice::kRetry});
  s.SetErrorHandler(&handler);
  EXPECT_TRUE(RunWithRetry(s, Operation(3), CopyError).ok());
  EXPECT_EQ(attempts, 3);
  ASSERT_EQ(handler.asked.size(), 2u);
  EXPECT_EQ(handler.asked[0].os_code, 2);
  EXPECT_TRUE(handler.asked[0].can_retry);
  EXPECT_TRUE(handler.asked[0].can_default);
}

TEST_F(ErrorTest, DefaultHandsTheFailureBackForTheDocumentedDefault) {
  ScriptedHandler handler({ErrorChoice::kRetry, ErrorChoice::kDefault});
  s.SetErrorHandler(&handler);
  Status status = RunWithRetry(s, Operation(100), CopyError);
  EXPECT_TRUE(status.IsNotFound());
  EXPECT_EQ(attempts, 2);
}

TEST_F(ErrorTest, QuitThrowsWithTheCurrentExitCode) {
  ScriptedHandler handler({ErrorChoice::kQuit});
  s.SetErrorHandler(&handler);
  EXPECT_EQ(s.settings().exit_code, 1);  // the default of a run
  try {
    (void)RunWithRetry(s, Operation(100), CopyError);
    FAIL() << "no QuitRequest";
  } catch (const QuitRequest& quit) {
    EXPECT_EQ(quit.exit_code, 1);
  }
  EXPECT_EQ(attempts, 1);
}

TEST_F(ErrorTest, ChoicesTheErrorDoesNotAllowAreNarrowed) {
  ScriptedHandler handler({ErrorChoice::kRetry, ErrorChoice::kDefault, ErrorChoice::kRetry});
  s.SetErrorHandler(&handler);
  ErrorInfo info;
  info.can_default = true;
  EXPECT_EQ(s.RaiseError(info), ErrorChoice::kDefault);  // Retry not allowed
  info.can_default = false;
  EXPECT_EQ(s.RaiseError(info), ErrorChoice::kQuit);  // Default not allowed
  EXPECT_EQ(s.RaiseError(info), ErrorChoice::kQuit);  // neither
  s.SetErrorHandler(nullptr);                         // back to the stand-in: defaults when it may
  info.can_default = true;
  EXPECT_EQ(s.RaiseError(info), ErrorChoice::kDefault);
}

TEST(ErrorFormatTest, NamesWhatFailed) {
  ErrorInfo info;
  info.description = "Open error";
  info.subsystem = "DBFCDX";
  info.gen_code = 21;
  info.os_code = 2;
  info.operation = "c:\\data\\x.dbf";
  EXPECT_EQ(FormatError(info), "Open error (DBFCDX/21, os 2): c:\\data\\x.dbf");
  EXPECT_EQ(RuntimeError(info).Message(), FormatError(info));
}

}  // namespace
}  // namespace qv::rt
