// Registers every subsystem's routines under their names, so that menu
// actions, message texts and commands reach each other by name.
#pragma once

#include <memory>

#include "shell/startup/procedures.h"
#include "tables/context.h"

namespace qv::app {

// The dialogs (ui), the table access layer, company maintenance, the message
// routines and start-up. Returns start-up's shared state.
std::shared_ptr<shell::ShellState> RegisterAllProcedures(tables::Context& ctx,
                                                         shell::StartupOptions options);

}  // namespace qv::app
