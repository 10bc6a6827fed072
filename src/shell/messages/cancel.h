// The routines around the progress and cancel dialogs of MSG: the test
// whether the user asked to cancel, the progress counter written into the
// cancel dialog, taking both dialogs off the screen, and the short alert the
// table layer uses. The cancel request is the public XCANCEL, set by the
// cancel dialog's button when pending messages are processed; nothing here
// sets it back to false.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/value.h"
#include "tables/context.h"

namespace qv::shell {

// CANCELIT: true when XCANCEL is true and the Escape key is not down now;
// then, unless text is "NO MESSAGE", "Cancelled..." + text is shown as an
// information box (MSG mode "F"). False otherwise. XCANCEL is not changed.
bool CancelIt(tables::Context& ctx, std::string_view text = "");

// The counter CANCEL_NOW writes at text row 3, column 10 of the cancel
// dialog: with an item number "Item" + item + "/" + items, without one
// "Record:" + key position + "/" + record count; each number right-aligned
// in 6 characters without decimals, then 13 blanks that wipe out a longer
// earlier text.
std::string ItemCounter(double item, double items);
std::string RecordCounter(double key_position, double record_count);

// CANCEL_NOW: processes pending messages once (a press of the cancel button
// is noticed then), writes the counter into OKANCEL when it holds a dialog
// (navy, font OFONTMS12) and returns XCANCEL. item NIL (or not a number):
// the record counter, from CMXKEYNO (called by name) and the selected
// table's record count, both 0 when no table is selected.
rt::Value CancelNow(tables::Context& ctx, const rt::Value& item = rt::Value(),
                    const rt::Value& items = rt::Value());

// FCANCEL: hides the progress dialog OCONTINUE (kept for the next progress
// message), closes the cancel dialog OKANCEL (which stays referred to), then
// gives the main window, when OWNDMAIN holds it, the focus and repaints it.
// Returns true.
bool FCancel(tables::Context& ctx);

// CLEARIT: FCANCEL when OCONTINUE or OKANCEL holds a dialog. Returns true.
bool ClearIt(tables::Context& ctx);

// ERRMSG: a beep and a timed note titled "Alert"; seconds NIL: 0.20.
// Returns true.
bool ErrMsg(tables::Context& ctx, const rt::Value& text, const rt::Value& seconds = rt::Value());

}  // namespace qv::shell
