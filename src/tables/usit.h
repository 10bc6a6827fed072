// USIT: opens, reopens and closes a table by the product's conventions
// (usit_plan.h decides names, flag and bags). The road of one open:
//   close an open table of that alias (commit, unlock, release semaphore)
//   -> "U": done
//   -> "L"/"E" under the lock scheme: take the semaphore (semaphores.h)
//   -> open in the next free area, exclusive for "E" (a refused open is
//      reported by USIT_ERR, lock_report.h)
//   -> bags of the index list, the first bag's first order controlling
//   -> "L": the file lock, retried with notes and questions
//   -> a table showing no first field is held by another workstation:
//      explain, ask, reopen or give up
//   -> first record.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

#include "platform/runtime/value.h"
#include "tables/context.h"
#include "tables/usit_plan.h"

namespace qv::tables {

// True when the table is open and selected at its first record (or closed
// for "U", or an empty or blank name closed the current area). False when the open
// failed (after USIT_ERR), a semaphore wait gave up, the file lock was given
// up under RETURNIFCANNOTLOCK, or the user declined to retry a table held
// exclusively elsewhere. Throws rt::QuitRequest when the user declines to
// retry a refused file lock (the program ends).
bool Usit(Context& ctx, std::string_view name, const rt::Value& place,
          std::span<const rt::Value> further);
inline bool Usit(Context& ctx, std::string_view name, const rt::Value& place = rt::Value(),
                 std::initializer_list<rt::Value> further = {}) {
  return Usit(ctx, name, place, std::span<const rt::Value>(further.begin(), further.size()));
}

// Step 9: the file lock on the current table, retried while the user wants.
// False only under RETURNIFCANNOTLOCK. REQUIRES: a table is selected.
bool FileLockWithRetry(Context& ctx);

}  // namespace qv::tables
