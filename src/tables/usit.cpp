#include "tables/usit.h"

#include "platform/rdd/orders.h"
#include "platform/runtime/procedures.h"
#include "platform/runtime/text.h"
#include "tables/files.h"
#include "tables/lock_report.h"
#include "tables/notices.h"
#include "tables/order_bags.h"
#include "tables/semaphores.h"
#include "tables/session_state.h"

namespace qv::tables {

namespace {

constexpr int kNotedLockFailures = 15;

void SetResource(Context& ctx, const UsitPlan& plan) {
  SessionVar(ctx.session(), "RESOURCE") = rt::Value(plan.ResourceName());
}

// Step 6 in the current area. A sharing violation leaves the area empty
// without a report; any other failure goes to the run-time error dialog.
void OpenTable(Context& ctx, const UsitPlan& plan) {
  rdd::UseArgs use;
  use.file = plan.File();
  use.alias = plan.name;
  use.shared = plan.flag != UsitFlag::kExclusive;
  (void)rt::RunWithRetry(
      ctx.session(),
      [&] {
        Status s = ctx.workspace().Use(use);
        return s.IsLockBusy() ? Status::OK() : s;
      },
      [&](const Status& s) {
        rt::ErrorInfo info;
        info.description = "Open error";
        info.operation = ReportedName(ctx, plan.File(), ".dbf");
        info.os_code = s.IsNotFound() ? 2 : 0;  // the system's "file not found"
        info.subsystem = "DBFCDX";
        info.gen_code = 21;
        return info;
      });
}

// Step 8.
void AddBags(Context& ctx, const UsitPlan& plan) {
  rdd::WorkArea* area = ctx.workspace().Area();
  (void)rdd::OrderListClear(*area);
  for (const std::string& bag : plan.bags) AddOrderBag(ctx, *area, bag);
}

// Step 10.1-10.2: what the file dictionary says the table is.
std::string DictionaryDescription(Context& ctx, const std::string& name) {
  rdd::Workspace& ws = ctx.workspace();
  rdd::UseArgs use;
  use.file = "filedict";
  std::string description;
  if (!ws.Use(use).ok()) return description;
  rdd::WorkArea* dict = ws.Area();
  (void)dict->Locate([&] {
    Result<rt::Value> file = dict->Get("FDFILE");
    return file.ok() && file->IsString() && rt::Upper(file->str()).find(name) != std::string::npos;
  });
  if (dict->Found()) {
    Result<rt::Value> desc = dict->Get("FDDESC");
    if (desc.ok() && desc->IsString()) description = std::string(rt::AllTrim(desc->str()));
  }
  (void)ws.CloseArea();
  return description;
}

std::string HeldExclusivelyText(const std::string& file, const std::string& description) {
  return " File:" + file + " is the " + description + " file. " +
         "\r\n And it is currently in use and in total control of another Work Station. " +
         "\r\n For you to successfully RETRY, that termninal must release the file. " +
         "\r\n Certain STARTUP procedures have a logical sequence which should be   " +
         "\r\n followed: For example: if you try to enter Inventory while the       " +
         "\r\n Chart of Accounts is being developed, you encounter this condition.  ";
}

// Step 10: true when the user wants the open tried again.
bool RetryHeldExclusively(Context& ctx, const UsitPlan& plan) {
  (void)ctx.workspace().CloseArea();
  Inform(ctx, HeldExclusivelyText(plan.File(), DictionaryDescription(ctx, plan.name)));
  return Ask(ctx, plan.File() + " In use TOTALLY EXCLUSIVELY...RETRY Y/N", true,
             plan.lock_scheme ? 198 : 199);
}

}  // namespace

bool FileLockWithRetry(Context& ctx) {
  rt::Session& session = ctx.session();
  int failures = 0;
  for (;;) {
    Result<bool> granted = ctx.workspace().Area()->FLock();
    if (granted.ok() && *granted) return true;
    ++failures;
    if (GiveUpAtOnce(session)) return false;
    if (failures <= kNotedLockFailures) {
      WaitStep step(ctx);
      TimedNote(ctx, " Attempting lock on " + Resource(session) + "...", 1);
      step.Finish();
      continue;
    }
    if (Ask(ctx, "Lock on " + Resource(session) + " FAILED...Retry Y/N", true, 195)) {
      Inform(ctx, "If stuck, 'Try CLEAR LOCKS (at menu:F A A C)' from another Work Station");
      failures = 0;
      continue;
    }
    UnlockIt(ctx);
    Inform(ctx, "Leaving ZENTHOR...", 196);
    rt::Call(session, "NORMAL_DOWN", {});
    throw rt::QuitRequest{session.settings().exit_code};
  }
}

bool Usit(Context& ctx, std::string_view name, const rt::Value& place,
          std::span<const rt::Value> further) {
  rdd::Workspace& ws = ctx.workspace();
  const UsitPlan plan = PlanUsit(name, place, further);
  // A blank name is empty to xBase: there is no table to open.
  if (rt::AllTrim(plan.name).empty()) {
    (void)ws.CloseArea();
    return true;
  }
  if (int area = ws.AreaOf(plan.name); area > 0) {
    (void)ws.SelectArea(area);
    (void)ws.CommitAll();
    (void)ws.Area()->Unlock();
    (void)ws.CloseArea();
    if (plan.lock_scheme) {
      SetResource(ctx, plan);
      UnlockIt(ctx);
    }
  }
  if (plan.flag == UsitFlag::kClose) return true;
  const bool semaphore = plan.flag != UsitFlag::kNone && plan.lock_scheme;
  if (semaphore) {
    SetResource(ctx, plan);
    if (!LockIt(ctx)) return false;
  }
  // A table that did not open must not keep others waiting on its semaphore.
  const auto give_up = [&] {
    if (semaphore) {
      SetResource(ctx, plan);
      UnlockIt(ctx);
    }
    return false;
  };
  (void)ws.SelectArea(0);
  for (;;) {
    OpenTable(ctx, plan);
    if (!rt::XbaseEquals(ws.Alias(), plan.name, false) || ws.Alias().empty()) {
      UsitErr(ctx, plan.name);
      return give_up();
    }
    AddBags(ctx, plan);
    if (plan.flag == UsitFlag::kFileLock && !FileLockWithRetry(ctx)) return false;
    if (!ws.Area()->FieldName(1).empty()) break;
    if (!RetryHeldExclusively(ctx, plan)) {
      // Giving up here must not look like success: the caller would work
      // on whatever area happens to be selected.
      Inform(ctx, "You will now restart ZENTHOR...", 200);
      return give_up();
    }
  }
  (void)ws.Area()->GoTop();
  return true;
}

}  // namespace qv::tables
