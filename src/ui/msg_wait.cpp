#include "ui/msg_wait.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/units.h"
#include "platform/runtime/number.h"
#include "platform/runtime/text.h"

namespace qv::ui {

namespace {

constexpr int kTickMs = 50;
constexpr double kDefaultSeconds = 2;

}  // namespace

WaitNoteLayout LayOutWaitNote(std::string_view text, int bitmap_width, int bitmap_height) {
  WaitNoteLayout l;
  // Lines and the width measure: a line followed by a break counts one more.
  int widest = 0;
  size_t start = 0;
  while (true) {
    const size_t brk = text.find("\r\n", start);
    if (brk == std::string_view::npos) {
      widest = std::max(widest, static_cast<int>(text.size() - start));
      break;
    }
    widest = std::max(widest, static_cast<int>(brk - start) + 1);
    ++l.lines;
    start = brk + 2;
  }
  l.width = widest;
  l.bitmap_columns = bitmap_width > 0 ? std::min(bitmap_width / 10.0, 8.0) : 0;
  l.bottom = l.lines + 5;
  l.right = std::max(50.0, l.width + l.bitmap_columns);
  l.dialog = gui::TextRectToPixels(0, 0, l.bottom, l.right);
  l.label = gui::Rect{gui::TextColumnToPixels(2 + l.bitmap_columns), gui::TextRowToPixels(0.5),
                      std::max(l.width * 14, 100), std::max(l.lines * 14, 100)};
  const double r = l.bottom;
  const double c = l.right;
  l.button = gui::Rect{gui::ButtonColumnToPixels(c / 3.75 + (c - 50) * 0.05),
                       gui::ButtonRowToPixels(r * (0.20 + r / 80) + 0.1), 32, 11};
  if (bitmap_width > 0) {
    l.bitmap = gui::Rect{18, 18, std::min(bitmap_width, 120), std::min(bitmap_height, 120)};
  }
  return l;
}

int WaitTicks(double seconds) {
  // The note counts 0.05 s per tick and closes once the count reaches the
  // seconds; whole ticks avoid the drift of adding 0.05 in binary.
  const double ticks = std::ceil(seconds * (1000.0 / kTickMs) - 1e-9);
  return ticks < 1 ? 1 : static_cast<int>(ticks);
}

std::shared_ptr<gui::Dialog> BuildWaitNote(gui::Gui& gui, const WaitNote& note) {
  double seconds = kDefaultSeconds;
  std::string seconds_text = "2";
  if (note.seconds.IsNumber()) {
    seconds = note.seconds.num();
    seconds_text = std::string(rt::AllTrim(rt::Str(note.seconds.number())));
  }
  const std::string text =
      note.text.IsString() ? note.text.str() : "Waiting for " + seconds_text + " seconds.";
  const std::string title = note.title.IsString() ? note.title.str() : "WAIT!";

  std::optional<gui::Bitmap> bitmap;
  if (note.bitmap.IsString() && !rt::AllTrim(note.bitmap.str()).empty()) {
    auto read = gui.ReadBitmap(rt::AllTrim(note.bitmap.str()));
    if (read.ok()) bitmap = std::move(read).value();
  }
  const WaitNoteLayout l =
      LayOutWaitNote(text, bitmap ? bitmap->width : 0, bitmap ? bitmap->height : 0);

  auto dialog = std::make_shared<gui::Dialog>(l.dialog, title);
  dialog->kind = "NOTE";
  dialog->centred = true;
  if (bitmap) {
    gui::Control picture;
    picture.kind = gui::ControlKind::kBitmap;
    picture.bitmap = bitmap;
    picture.rect = gui::Rect{0, 0, bitmap->width, bitmap->height};
    dialog->Add(std::move(picture));
  }
  gui::Control label;
  label.kind = gui::ControlKind::kStatic;
  label.caption = text;
  label.rect = l.label;
  dialog->Add(std::move(label));
  gui::Control exit;
  exit.kind = gui::ControlKind::kButton;
  exit.id = 1;
  exit.caption = "eXit";
  exit.rect = l.button;
  exit.action = [](gui::Dialog& d) { d.End(); };
  dialog->Add(std::move(exit));

  const int needed = WaitTicks(seconds);
  auto ticks = std::make_shared<int>(0);
  const size_t timer = dialog->AddTimer(kTickMs, [ticks, needed](gui::Dialog& d) {
    if (++*ticks >= needed) d.End();
  });
  const gui::Rect moved = l.bitmap;
  dialog->on_init = [timer, moved](gui::Dialog& d) {
    for (gui::Control& c : d.controls()) {
      if (c.kind == gui::ControlKind::kBitmap) c.rect = moved;
    }
    d.StartTimer(timer);
  };
  return dialog;
}

void MsgWait(gui::Gui& gui, const WaitNote& note) {
  auto dialog = BuildWaitNote(gui, note);
  gui.RunModal(*dialog);
}

}  // namespace qv::ui
