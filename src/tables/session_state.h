// The session variables the table layer reads, taken as the routines need
// them: a text that is no text reads as "", a switch that is no logical reads
// as false, so a variable start-up has not created yet never faults.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/session.h"

namespace qv::tables {

// The variable's text; "" when it is missing or not a text.
std::string TextVar(rt::Session& session, std::string_view name);
// True only when the variable holds logical true.
bool SwitchVar(rt::Session& session, std::string_view name);
// Whether a text variable of that name is visible.
bool HasTextVar(rt::Session& session, std::string_view name);

// The visible variable of that name; a public (false) is created when there
// is none, so state the layer keeps outlives the routine that set it.
rt::Value& SessionVar(rt::Session& session, std::string_view name);

// XXVMLTUSR non-empty: several workstations share the data.
bool MultiUser(rt::Session& session);
// XXCO: the company folder prefix ("1.co\"), "" for the data folder.
inline std::string CompanyPrefix(rt::Session& session) { return TextVar(session, "XXCO"); }
// XXVTERMNO: this workstation's number as text.
inline std::string TermNo(rt::Session& session) { return TextVar(session, "XXVTERMNO"); }
// RESOURCE: the name of the resource a semaphore guards.
inline std::string Resource(rt::Session& session) { return TextVar(session, "RESOURCE"); }
// RETURNIFCANNOTLOCK: give up a lock wait at its first failure.
inline bool GiveUpAtOnce(rt::Session& session) { return SwitchVar(session, "RETURNIFCANNOTLOCK"); }

}  // namespace qv::tables
