// How the message and cancel routines read the session variables they share
// with the rest of the program: the fonts start-up creates and the dialogs
// MSG keeps (texts and switches: tables/session_state.h). A variable that is
// missing or holds another type reads as the documented fallback, never as
// an error.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/gui/dialog.h"
#include "platform/gui/types.h"
#include "platform/runtime/procedures.h"
#include "platform/runtime/session.h"
#include "tables/session_state.h"

namespace qv::shell {

using tables::SwitchVar;
using tables::TextVar;

// The font the variable holds; else the font start-up creates under that
// name (a session without start-up, such as a test), else the default font.
gui::Font FontVar(rt::Session& session, std::string_view name);
// The dialog the variable holds; nullptr when it holds none (start-up leaves
// false there until MSG stores a dialog).
std::shared_ptr<gui::Dialog> DialogVar(rt::Session& session, std::string_view name);
// Whether OWNDMAIN holds the main window (start-up stores it there).
bool HoldsMainWindow(rt::Session& session);
// PUBLIC name (an existing one keeps its value), then name := value.
void SetPublic(rt::Session& session, std::string_view name, rt::Value value);

using rt::ArgAt;  // positional argument i, NIL when the caller passed fewer

// xBase's "=" on two strings under the session's exact setting.
bool XbaseEq(rt::Session& session, std::string_view left, std::string_view right);

}  // namespace qv::shell
