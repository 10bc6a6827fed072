// Lock semaphores: empty files in the company folder that mark a resource as
// taken by a workstation. The protocol (code cites "semaphore rule (n)"):
//  (1) This workstation's semaphore of RESOURCE is XXCO + RESOURCE + "." +
//      XXVTERMNO; any workstation's is XXCO + RESOURCE + ".??".
//  (2) Take (LockIt): single-user, create ours and go on. Multi-user, wait
//      until no semaphore of the resource exists (LockItA), create ours,
//      and when another appeared at the same moment, wait again.
//  (3) Wait (LockItA): a one-second note per test for 20 tests; then a
//      stale-semaphore clean-up through the table's file lock when the
//      caller names its table in FILENM, then a question ("EntryChk" or
//      "continue waiting?"). No is the end of the wait, as is the first
//      failure when RETURNIFCANNOTLOCK is true.
//  (4) Release (UnlockIt): erase ours. USIT releases the semaphore of a
//      lock-scheme table whenever it closes or reopens it.
// Lock order between workstations: the semaphore first, then the table's
// file lock (usit.h).
#pragma once

#include "tables/context.h"

namespace qv::tables {

// LOCKIT: rule (2). False only when the wait gave up.
bool LockIt(Context& ctx);
// LOCKITA: rule (3). True when no other semaphore of RESOURCE is left.
bool LockItA(Context& ctx);
// UNLOCKIT: rule (4). RESOURCE, XXCO or XXVTERMNO that is no text becomes "".
bool UnlockIt(Context& ctx);

// LOCKITA's clean-up: when the caller's FILENM table can be file-locked, no
// workstation uses it, so every semaphore of it and all semaphores of the
// workstations that left them are erased. True when it was done.
bool CleanStaleSemaphores(Context& ctx);

}  // namespace qv::tables
