// The registration of start-up's routines under their names: MAIN, ONPAINT,
// COPYFILE, BUILDMENU, INDENT, CHECK_PASS and STATUSLINE. The program runs
// by calling MAIN by name once every subsystem has registered its routines.
#pragma once

#include <memory>

#include "shell/startup/shell_state.h"
#include "tables/context.h"

namespace qv::shell {

// ctx must outlive the session's use of these routines. Returns the state
// the routines share (kept alive by the registry as well).
std::shared_ptr<ShellState> RegisterStartupProcedures(tables::Context& ctx,
                                                      StartupOptions options = {});

}  // namespace qv::shell
