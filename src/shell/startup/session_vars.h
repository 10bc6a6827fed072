// The session variables start-up creates, as tables of names and initial
// values, in the groups the start-up steps create them. Every one is public
// and lives until the end of the run; code held in data may read any of
// them, also those no routine of the program reads.
#pragma once

#include <functional>
#include <string_view>

#include "platform/runtime/session.h"

namespace qv::shell {

// An environment variable's value, nullptr when unset.
using EnvLookup = std::function<const char*(const char*)>;

// Step 3: the variables of the first groups (OWNDMAIN ... XCANCEL).
void CreateFirstVariables(rt::Session& session);

// Step 9: every remaining variable with its initial value. XXVMLTUSR is the
// upper-cased "MULTIUSER" because XXVSHARE is 1; XXVMDATE and XXVMDAY are
// today by the session's clock.
void CreateRemainingVariables(rt::Session& session, const EnvLookup& getenv);

// Step 10's assignments: XXTIME, XXNO_PASS, DO_PROC, XXCLICK, then XXPFLAG,
// XXCO, XXVMENU, XXVMENUREC, XXNEWMENU (the exit code is set in between by
// the caller).
void SetTimeAndCommandState(rt::Session& session);
void SetMenuState(rt::Session& session);

// The value of an environment variable, "" when unset.
std::string EnvText(const EnvLookup& getenv, const char* name);

}  // namespace qv::shell
