#include "app/program.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "app/registration.h"
#include "app/script_lines.h"
#include "platform/fs/env.h"
#include "platform/fs/win_fs.h"
#include "platform/gui/environment.h"
#include "platform/gui/qt/qt_app.h"
#include "platform/gui/qt/qt_gui.h"
#include "platform/gui/qt/qt_print.h"
#include "platform/gui/script/script_gui.h"
#include "platform/runtime/session.h"

namespace qv::app {

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "quorvanta-setup: %s\n", message.c_str());
  return kExitUsage;
}

const char* Getenv(const char* name) { return std::getenv(name); }

// What both front ends share.
struct Base {
  rt::Session& session;
  fs::WinFs& fs;
  gui::GuiEnvironment env;
};

gui::GuiOptions OptionsFor(Base& base) {
  gui::GuiOptions options;
  fs::WinFs* fs = &base.fs;
  options.files = [fs](std::string_view path) -> Result<std::string> {
    Result<std::string> host = fs->Resolve(path);
    if (!host.ok()) return host.status();
    return fs::ReadWholeFile(fs->env(), *host);
  };
  options.windows_folder = base.env.windows_folder;
  options.dates = &base.session.settings().dates;
  return options;
}

// Runs MAIN; the exit code of the run.
int RunMain(rt::Session& session) {
  try {
    rt::Call(session, "MAIN", {});
    return session.settings().exit_code;
  } catch (const rt::QuitRequest& request) {
    return request.exit_code;
  } catch (const rt::RuntimeError& error) {
    // Every dispatcher catches these; one that still arrives ends the run.
    std::fprintf(stderr, "quorvanta-setup: %s\n", error.Message().c_str());
    return session.settings().exit_code;
  }
}

int RunHeadless(const CommandLine& line, Base& base) {
  std::ofstream transcript_file;
  std::ostream* transcript = &std::cout;
  if (!line.transcript_file.empty()) {
    transcript_file.open(line.transcript_file, std::ios::binary | std::ios::trunc);
    if (!transcript_file) return Fail("cannot write the transcript " + line.transcript_file);
    transcript = &transcript_file;
  }
  std::ifstream script_file;
  std::istream* script = &std::cin;
  if (!line.script_file.empty()) {
    script_file.open(line.script_file, std::ios::binary);
    if (!script_file) return Fail("cannot read the script " + line.script_file);
    script = &script_file;
  }
  // PDF files are drawn through Qt, offscreen.
  std::unique_ptr<gui::QtApp> qt_app;
  std::unique_ptr<gui::PdfFolderSink> pdf;
  if (!base.env.pdf_folder.empty()) {
    qt_app = gui::QtApp::ForOffscreenPrinting();
    pdf = std::make_unique<gui::PdfFolderSink>(base.env.pdf_folder);
  }
  gui::ScriptGui gui(OptionsFor(base),
                     gui::ScriptOptions{transcript, base.env.printer_present, pdf.get()});
  int code = 0;
  {
    tables::Context ctx(base.session, base.fs, gui);
    RegisterAllProcedures(ctx, shell::StartupOptions{Getenv, nullptr});
    ScriptRunner runner(gui, ctx, *script);
    // Until the first menu choice is read, a dialog of the start-up takes
    // the answers the script queues before its first other line.
    bool starting = true;
    gui.SetAnswerSource([&] {
      if (starting) runner.QueueNextAnswer();
    });
    gui.SetDriver([&] {
      starting = false;
      return runner.RunNext();
    });
    // The front end outlives this scope; its hooks must not.
    struct Unhook {
      gui::ScriptGui& gui;
      ~Unhook() {
        gui.SetAnswerSource(nullptr);
        gui.SetDriver(nullptr);
      }
    } unhook{gui};
    code = RunMain(base.session);
    // A terminal would wait for more typing; only piped or file input is read to its end.
    if (script != &std::cin || isatty(STDIN_FILENO) == 0) runner.SkipRest();
    (void)ctx.workspace().CloseAll();
  }
  gui.transcript().Write("EXIT", {std::to_string(code)});
  return code;
}

int RunWindowed(Base& base) {
  if (!gui::DisplayAvailable()) {
    return Fail("no display ($DISPLAY or $WAYLAND_DISPLAY): use --headless or --script FILE");
  }
  std::unique_ptr<gui::QtApp> qt_app = gui::QtApp::ForWindows();
  gui::QtGui gui(OptionsFor(base), gui::QtOptions{base.env.printer_present, base.env.pdf_folder});
  return RunWithWindows(base.session, base.fs, gui);
}

}  // namespace

int RunWithWindows(rt::Session& session, fs::WinFs& fs, gui::QtGui& gui) {
  tables::Context ctx(session, fs, gui);
  // Qt's event loop cannot carry an exception: a menu action that ends the
  // run closes the window and leaves its exit code here.
  std::optional<int> ended;
  shell::StartupOptions options{Getenv, [&](const rt::QuitRequest& request) {
                                  ended = request.exit_code;
                                  gui.CloseMainWindow();
                                }};
  RegisterAllProcedures(ctx, std::move(options));
  const int code = RunMain(session);
  (void)ctx.workspace().CloseAll();
  return ended.value_or(code);
}

int RunProgram(const CommandLine& line) {
  Result<rt::Clock> clock = rt::Clock::FromEnvironment();
  if (!clock.ok()) return Fail(clock.status().message());
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  Result<std::unique_ptr<fs::WinFs>> win_fs = fs::WinFsFromProcess(*env);
  if (!win_fs.ok()) return Fail(win_fs.status().message());
  rt::Session session(*clock);
  Base base{session, **win_fs, gui::ReadGuiEnvironment(Getenv)};
  return line.headless ? RunHeadless(line, base) : RunWindowed(base);
}

}  // namespace qv::app
