// The registration of this subsystem's routines under their names:
// MSGGET, MSGGETCH, MSGGETSTART, MSGINFORMATION, MSGWAIT, HHCTRL, LISTSELALL,
// Y_N, T_F, PROPER, DOTS and the colour scheme functions. Also registers the
// entry templates with the front end.
#pragma once

#include "platform/gui/gui.h"
#include "platform/runtime/procedures.h"

namespace qv::ui {

// gui must outlive the registry's use of these routines.
void RegisterUiProcedures(rt::ProcedureRegistry& registry, gui::Gui& gui);

}  // namespace qv::ui
