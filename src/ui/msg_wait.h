// The self-closing wait note: a dialog built without a template, sized from
// its text (and an optional bitmap beside it), with an "eXit" button and a
// timer that closes it after the given seconds.
#pragma once

#include <optional>
#include <string>

#include "platform/gui/gui.h"
#include "platform/runtime/value.h"

namespace qv::ui {

// Every measure of the note, computed from its text and the bitmap width.
struct WaitNoteLayout {
  int lines = 1;              // L: CR LF pairs + 1
  int width = 0;              // W: the widest line (+1 for lines followed by a break)
  double bitmap_columns = 0;  // B: MIN(bitmap width / 10, 8), 0 without bitmap
  int bottom = 6;             // R = L + 5
  double right = 50;          // C = MAX(50, W + B)
  gui::Rect dialog;           // pixels, from the text rectangle (0, 0, R, C)
  gui::Rect label;            // pixels
  gui::Rect button;           // pixels
  gui::Rect bitmap;           // pixels, where the bitmap moves on init
};

// REQUIRES: bitmap_width, bitmap_height >= 0 (0: no bitmap).
WaitNoteLayout LayOutWaitNote(std::string_view text, int bitmap_width, int bitmap_height);

// The note's arguments as a caller passes them; NIL takes the default.
struct WaitNote {
  rt::Value text;     // default "Waiting for " + seconds + " seconds."
  rt::Value title;    // default "WAIT!"
  rt::Value seconds;  // default 2
  rt::Value bitmap;   // a file name; anything else: no bitmap
};

// 50 ms timer ticks after which a note of `seconds` closes (at least 1).
int WaitTicks(double seconds);

// The dialog the note shows, ready to run (exposed for front-end tests).
std::shared_ptr<gui::Dialog> BuildWaitNote(gui::Gui& gui, const WaitNote& note);

// Shows the note modal and centred; returns when it has closed.
void MsgWait(gui::Gui& gui, const WaitNote& note);

}  // namespace qv::ui
