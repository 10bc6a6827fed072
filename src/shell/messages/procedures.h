// The registration of the message routine, cancel handling and exit under
// their names: MSG, SOON, CANCELIT, CANCEL_NOW, FCANCEL, CLEARIT, ERRMSG,
// CANCELNOW, NORMAL_DOWN, ABOUT. Also registers the progress message's
// template "MSGCONT" with the front end. The typed entry points are in
// msg.h, cancel.h and exit.h; exit.h says how ending the program is
// signalled.
#pragma once

#include "tables/context.h"

namespace qv::shell {

// ctx must outlive the registry's use of these routines. MSG opens the
// message table through "USIT" and NORMAL_DOWN releases through "UNLOCKIT",
// CANCEL_NOW reads "CMXKEYNO": the table layer registers them.
void RegisterMessageProcedures(tables::Context& ctx);

}  // namespace qv::shell
