#include "shell/startup/main_proc.h"

#include <memory>
#include <string>

#include "platform/runtime/text.h"
#include "shell/startup/copy_file.h"
#include "shell/startup/fonts.h"
#include "shell/startup/handles.h"
#include "shell/startup/menu_table.h"
#include "shell/startup/session_vars.h"

namespace qv::shell {

namespace {

// A two-digit year lies in the window starting this many years back.
constexpr int kYearWindowBack = 87;
constexpr int kRowPixels = 16;
constexpr int kColumnPixels = 8;
constexpr std::string_view kPicture = "quorv.bmp";
constexpr std::string_view kIcon = "fw\\quorvanta.ico";

// A file named by a Windows path relative to the current folder.
Result<std::string> ReadFile(tables::Context& ctx, std::string_view path) {
  Result<std::string> host = ctx.fs().Resolve(path);
  if (!host.ok()) return host.status();
  return fs::ReadWholeFile(ctx.env(), *host);
}

std::optional<gui::Bitmap> ReadPicture(tables::Context& ctx, std::string_view path) {
  Result<std::string> bytes = ReadFile(ctx, path);
  if (!bytes.ok()) return std::nullopt;
  Result<gui::Bitmap> bitmap = gui::DecodeBitmap(std::string(path), std::move(bytes).value());
  if (!bitmap.ok()) return std::nullopt;
  return std::move(bitmap).value();
}

// An icon file's bytes, kept whole for the front end to decode.
std::optional<gui::Bitmap> ReadIcon(tables::Context& ctx, std::string_view path) {
  Result<std::string> bytes = ReadFile(ctx, path);
  if (!bytes.ok()) return std::nullopt;
  return gui::Bitmap{std::string(path), std::move(bytes).value(), 0, 0};
}

rt::Value Handle(std::shared_ptr<rt::Object> object) {
  return rt::Value(rt::ObjectRef(std::move(object)));
}

// Step 1: "C:\WINDOWS" gives "WINDOWS".
std::string WindowsFolderName(std::string_view reported) {
  const std::string folder = rt::Upper(rt::AllTrim(reported));
  return folder.size() > 3 ? folder.substr(3) : std::string();
}

// Step 5: the start drive and folder.
void SetStartFolder(tables::Context& ctx, ShellState& state) {
  const char drive = ctx.fs().CurrentDrive();
  const std::string dir = ctx.fs().CurrentDir(drive);
  const std::string letter(1, drive);
  ctx.session().DeclarePublic("SAVE_DRIVE") = letter + ":";
  ctx.session().DeclarePublic("SAVE_DIR") = "\\" + dir;
  state.start_folder = letter + ":\\" + dir + "\\";
  ctx.session().DeclarePublic("SOURCE_DRV") = state.start_folder;
}

}  // namespace

gui::Rect MainWindowRect() {
  constexpr int kTop = 6, kLeft = 25, kBottom = 32, kRight = 77;
  return gui::Rect{kLeft * kColumnPixels, kTop * kRowPixels, (kRight - kLeft) * kColumnPixels,
                   (kBottom - kTop) * kRowPixels};
}

void PaintMainWindow(tables::Context& ctx, gui::Canvas& canvas) {
  if (std::optional<gui::Bitmap> picture = ReadPicture(ctx, kPicture)) {
    canvas.DrawBitmap(0, 0, *picture);
  }
}

void RunMain(tables::Context& ctx, ShellState& state) {
  rt::Session& session = ctx.session();
  // Run-time errors go to the front end's error dialog from the first step on.
  session.SetErrorHandler(&ctx.gui());
  const EnvLookup& getenv = state.options.getenv;
  const std::string windows = WindowsFolderName(ctx.gui().WindowsFolder());  // 1
  session.DeclarePublic("AXX") = EnvText(getenv, "server");                  // 2
  CreateFirstVariables(session);                                             // 3
  ctx.workspace().settings().deleted = true;                                 // 4
  SetStartFolder(ctx, state);                                                // 5
  CopyFile(session, ctx.fs(), state,                                         // 6
           CopyRequest{"ctl3d.dll", state.start_folder + "exe\\", "\\" + windows + "\\system", "C",
                       nullptr});
  CreateFonts(session);                                                               // 7
  session.settings().dates.epoch = session.clock().Today().Year() - kYearWindowBack;  // 8
  CreateRemainingVariables(session, getenv);                                          // 9
  // 10. The workspace's default bag opener already reads CDX bags (DBFCDX).
  SetTimeAndCommandState(session);
  session.settings().exit_code = 1;
  SetMenuState(session);
  // 11. Missing or unreadable files leave the window without them, unreported.
  gui::MainWindow& window = state.window;
  window.brush = ReadPicture(ctx, kPicture);
  window.icon = ReadIcon(ctx, kIcon);
  session.DeclarePublic("OBRUSH") = Handle(std::make_shared<PictureObject>("BRUSH", window.brush));
  session.DeclarePublic("OICO") = Handle(std::make_shared<PictureObject>("ICON", window.icon));
  // 12. The menu table is opened here, after every setting above.
  window.rect = MainWindowRect();
  window.menu = BuildMenu(ctx, state);
  state.menu = window.menu;
  window.colors = "W+/B";
  session.DeclarePublic("OWNDMAIN") = Handle(std::make_shared<WindowObject>());
  window.title = std::string(kMainTitle);                                           // 13
  window.message_bar_default = std::string(kMessageBarDefault);                     // 14
  window.on_paint = [&ctx](gui::Canvas& canvas) { PaintMainWindow(ctx, canvas); };  // 15
  ctx.gui().OpenMainWindow(window);
  ctx.gui().RunMainWindow();
}

}  // namespace qv::shell
