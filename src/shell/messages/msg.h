// MSG, the routine through which the program talks to the user, and SOON.
// One mode letter picks the kind: a question or value prompt ("T"), an
// information box ("F", "B" with a beep), a timed alert ("P"), the choice
// dialog ("H"), nothing ("J"), the progress message that stays on screen
// ("D", "X") or a cancel dialog ("C"). The mode is matched by containment in
// that order, so an empty mode asks a question. The text comes from the
// caller or, for a number other than 0, from the message table.
#pragma once

#include <span>
#include <string>

#include "platform/runtime/value.h"
#include "tables/context.h"

namespace qv::shell {

// MSG's positional arguments. Inside MSG each is a private variable under the
// name shown, visible to the message table's TITLE and to the dialogs.
struct MsgArgs {
  rt::Value number = rt::Value::Int(0);  // NUM: 0 shows text; else a record of the message table
  rt::Value text = "";  // EMESSAGE: shown for number 0; NIL counts as "", another type
                        // is an "Argument error" (rt::RuntimeError)
  rt::Value mode;       // ANSWER: a mode letter; anything but a string counts as "F"
  rt::Value question;   // QUE: default button ("Y"; "N" or " " for No), prompt text, or
                        // seconds for "P"; anything but a string counts as " "
  rt::Value value;      // OPTIONS: mode "T" only: the value to edit; NIL for a question
  rt::Value line;       // MLINE: 1 to 22, else 11 (the value prompt's row: no effect)
  rt::Value length;     // NLEN: unchanged (the value prompt's width: no effect)
};

// Runs MSG in a call frame of its own. Returns, by mode:
//   "T" question: "Y" or "N" (NIL for a QUE other than "Y", "N", " ");
//   "T" value prompt: the edited value, NIL when cancelled;
//   "H": " ", "M" or "Q" for buttons 102, 103, 104, "H" when closed otherwise;
//   every other mode: NIL.
// Always: EMESS holds the message shown (trimmed; a "Y/N" in it becomes "?"
// after the text before it), ODLGMSG is NIL unless mode "H" stored its dialog,
// pending window messages were processed 50 times first, no table is left
// open under the alias MESSAGE and the caller's work area is selected again.
// A number other than 0 opens the message table through USIT, called by
// name (message_table.h).
rt::Value Msg(tables::Context& ctx, const MsgArgs& args, int line = __builtin_LINE());

// MSG for a caller that already runs in MSG's call frame (the procedure
// registry pushed it): args are positional, missing ones NIL.
rt::Value MsgInFrame(tables::Context& ctx, std::span<const rt::Value> args);

// SOON: "Coming Soon..." + text (not a string: "") as an information box.
void Soon(tables::Context& ctx, const rt::Value& text);

}  // namespace qv::shell
