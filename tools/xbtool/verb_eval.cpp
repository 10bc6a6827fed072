// xbtool eval EXPR: compiles and evaluates one xBase expression with the
// drive map of QUORVANTA_DRIVES and the day of QUORVANTA_TODAY in force, and
// prints the type letter, a tab and the value as the transcript shows it.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/fs/drive_map.h"
#include "platform/fs/env.h"
#include "platform/fs/win_fs.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/error.h"
#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"
#include "platform/xbase/value_text.h"
#include "platform/xbase/win_file_access.h"
#include "verbs.h"

namespace qv::xbtool {

namespace {

// The year window starts 87 years before the current year.
constexpr int kEpochYearsBack = 87;

// A routine's run-time error (an unknown function, say) ends the evaluation:
// the tool has no one to ask Retry or Default.
class QuitOnError : public rt::ErrorHandler {
 public:
  rt::ErrorChoice Handle(const rt::ErrorInfo& info) override {
    std::fprintf(stderr, "xbtool: %s\n", rt::FormatError(info).c_str());
    return rt::ErrorChoice::kQuit;
  }
};

}  // namespace

int VerbEval(int argc, char** argv) {
  if (argc != 1) {
    std::fputs("usage: xbtool eval EXPR\n", stderr);
    return 2;
  }
  Result<xb::Expr> expr = xb::Expr::Compile(argv[0]);
  if (!expr.ok()) {
    std::fprintf(stderr, "xbtool: %s\n", expr.status().message().c_str());
    return 1;
  }
  Result<rt::Clock> clock = rt::Clock::FromEnvironment();
  if (!clock.ok()) {
    std::fprintf(stderr, "xbtool: %s\n", clock.status().message().c_str());
    return 2;
  }
  Result<fs::DriveMap> drives = fs::MakeDriveMap(fs::DriveSettingsFromProcess());
  if (!drives.ok()) {
    std::fprintf(stderr, "xbtool: %s\n", drives.status().message().c_str());
    return 2;
  }
  rt::Session session(*clock);
  QuitOnError on_error;
  session.SetErrorHandler(&on_error);
  session.settings().dates.epoch = clock->Today().Year() - kEpochYearsBack;
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  fs::WinFs win_fs(*env, *drives, fs::WindowsFolderFromProcess());
  xb::WinFileAccess files(win_fs);
  xb::Host host{session, nullptr, &files};
  try {
    rt::Value value = expr->Eval(host);
    std::string text = xb::ValueText(value);
    std::printf("%c\t", rt::TypeLetter(value.type()));
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
  } catch (const rt::RuntimeError& error) {
    std::fprintf(stderr, "xbtool: %s\n", error.Message().c_str());
    return 1;
  } catch (const rt::QuitRequest& quit) {
    return quit.exit_code;
  }
  return 0;
}

}  // namespace qv::xbtool
