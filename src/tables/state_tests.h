// The multi-user state tests: marker files in the data folder with fixed
// four-character stems and the workstation number as extension ("L1??"
// exclusive, "L0??" update, "K???" document, "????" any). In single-user
// mode there are no other workstations and every test is false.
#pragma once

#include <string_view>

#include "tables/context.h"

namespace qv::tables {

// IS_EXCL: another workstation holds an exclusive marker (this
// workstation's own "L1??" markers are erased first).
bool IsExcl(Context& ctx);
// IS_UPDATE: an update marker exists; with a text variable SINGLE, only
// the markers "L0" + code count.
bool IsUpdate(Context& ctx, std::string_view code);
// IS_DOC: a document marker exists.
bool IsDoc(Context& ctx);
// IS_GLOBAL: any marker exists (the code is not used).
bool IsGlobal(Context& ctx, std::string_view code);
// IS_FREE: in multi-user mode waits while the xBase condition holds, with
// message 193 as a progress note and a timed note every 5 seconds.
bool IsFree(Context& ctx, std::string_view condition, std::string_view message);

}  // namespace qv::tables
