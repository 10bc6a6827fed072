// The record-lock wait and its release. A refused record lock is retried
// with a one-second note for 20 attempts, then the "continue waiting?"
// question; No ends the wait, so an unattended run cannot wait forever.
#pragma once

#include "tables/context.h"

namespace qv::tables {

// RLOCKIT: true once the current record is locked; false when no table is
// selected or the user stopped waiting.
bool RLockIt(Context& ctx);
// RUNLOCKIT: commits every table and releases the current table's locks.
bool RUnlockIt(Context& ctx);

}  // namespace qv::tables
