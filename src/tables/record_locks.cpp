#include "tables/record_locks.h"

#include "tables/notices.h"
#include "tables/session_state.h"

namespace qv::tables {

bool RLockIt(Context& ctx) {
  int attempts = 0;
  int seconds = 0;
  for (;;) {
    rdd::WorkArea* area = ctx.workspace().Area();
    if (area == nullptr) return false;
    Result<bool> granted = area->RLock();
    if (granted.ok() && *granted) return true;
    ++attempts;
    WaitStep step(ctx);
    if (attempts <= kNotedWaitAttempts) {
      TimedNote(ctx, "Temporarily Locked: " + Resource(ctx.session()), 1);
    } else {
      if (!KeepWaiting(ctx, attempts, seconds)) return false;
    }
    step.Finish();
  }
}

bool RUnlockIt(Context& ctx) {
  (void)ctx.workspace().CommitAll();
  if (rdd::WorkArea* area = ctx.workspace().Area()) (void)area->Unlock();
  return true;
}

}  // namespace qv::tables
