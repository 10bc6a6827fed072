#include "tables/semaphores.h"

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"
#include "tables/files.h"
#include "tables/notices.h"
#include "tables/session_state.h"

namespace qv::tables {

namespace {

std::string OwnSemaphore(rt::Session& session) {
  return CompanyPrefix(session) + Resource(session) + "." + TermNo(session);
}

std::string AnySemaphore(rt::Session& session) {
  return CompanyPrefix(session) + Resource(session) + ".??";
}

// Seconds one wait step stands for in the notes (XXVDEAD; 1 when unset).
double DeadSeconds(rt::Session& session) {
  const rt::Value* v = session.Find("XXVDEAD");
  return v != nullptr && v->IsNumber() ? v->num() : 1;
}

// Two workstations that made their semaphores at the same moment back off
// for different times, so they do not collide again and again.
void BackOff(Context& ctx) {
  const double term = rt::Val(TermNo(ctx.session())).value;
  ctx.Sleep(std::chrono::milliseconds(20 * (1 + static_cast<int>(term) % 8)));
}

}  // namespace

// Semaphore rule (2).
bool LockIt(Context& ctx) {
  rt::Session& session = ctx.session();
  if (!MultiUser(session)) {
    CreateEmptyFile(ctx, OwnSemaphore(session));
    return true;
  }
  for (;;) {
    if (!LockItA(ctx)) return false;
    CreateEmptyFile(ctx, OwnSemaphore(session));
    if (MatchingFiles(ctx, AnySemaphore(session)).size() <= 1) return true;
    BackOff(ctx);
  }
}

// Semaphore rule (3).
bool LockItA(Context& ctx) {
  rt::Session& session = ctx.session();
  EraseMatching(ctx, OwnSemaphore(session));
  int attempts = 0;
  int seconds = 0;
  while (AnyMatching(ctx, AnySemaphore(session))) {
    ++attempts;
    if (GiveUpAtOnce(session)) return false;
    WaitStep step(ctx);
    const std::string resource = Resource(session);
    if (attempts <= kNotedWaitAttempts) {
      TimedNote(ctx,
                "Temporarily Locked: " + resource + rt::Str(attempts * DeadSeconds(session), 5, 0),
                1);
      step.Finish();
      continue;
    }
    // Beyond 20 tests every round ends in a dialog (or the clean-up), so an
    // unattended run cannot spin here.
    if (CleanStaleSemaphores(ctx)) return true;
    if (resource.find("EntryChk") != std::string::npos) {
      if (Ask(ctx, "Another Work Station may be stuck in EntryChk...Go ahead anyway Y/N", false)) {
        EraseMatching(ctx, CompanyPrefix(session) + "EntryChk.??");
      }
    } else {
      if (!KeepWaiting(ctx, attempts, seconds)) return false;
    }
    step.Finish();
  }
  return true;
}

// Semaphore rule (4).
bool UnlockIt(Context& ctx) {
  rt::Session& session = ctx.session();
  for (std::string_view name : {"RESOURCE", "XXCO", "XXVTERMNO"}) {
    const rt::Value* v = session.Find(name);
    if (v == nullptr || !v->IsString()) SessionVar(session, name) = rt::Value("");
  }
  EraseMatching(ctx, OwnSemaphore(session));
  return true;
}

bool CleanStaleSemaphores(Context& ctx) {
  rt::Session& session = ctx.session();
  const std::string table = std::string(rt::AllTrim(rt::Upper(TextVar(session, "FILENM"))));
  if (table.empty()) return false;
  rdd::Workspace& ws = ctx.workspace();
  const int before = ws.current();
  const std::string company = CompanyPrefix(session);
  if (int area = ws.AreaOf(table); area > 0) {
    (void)ws.SelectArea(area);
    (void)ws.CloseArea();
  }
  const bool in_company = !rt::AllTrim(TextVar(session, "EXT")).empty();
  rdd::UseArgs use;
  use.file = (in_company ? company : std::string()) + table;
  use.alias = table;
  use.new_area = true;
  bool granted = false;
  if (ws.Use(use).ok()) {
    Result<bool> lock = ws.Area()->FLock();
    granted = lock.ok() && *lock;
    if (granted) {
      const std::string term = TermNo(session);
      for (const std::string& name : MatchingFiles(ctx, company + table + ".??")) {
        const std::string ext = name.substr(name.find('.') + 1);
        if (!rt::EqualsNoCase(ext, term)) EraseMatching(ctx, company + "*." + ext);
      }
      EraseMatching(ctx, company + table + ".??");
    }
    (void)ws.CloseArea();
  }
  (void)ws.SelectArea(before);
  return granted;
}

}  // namespace qv::tables
