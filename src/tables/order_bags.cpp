#include "tables/order_bags.h"

#include "platform/rdd/orders.h"
#include "tables/files.h"

namespace qv::tables {

bool AddOrderBag(Context& ctx, rdd::WorkArea& area, std::string_view bag) {
  const Status s = rt::RunWithRetry(
      ctx.session(),
      [&] {
        Result<std::string> host = ctx.workspace().Resolve(bag, rdd::kOrderBagExt);
        return host.ok() ? rdd::OrderListAdd(area, *host) : host.status();
      },
      [&](const Status& failed) {
        rt::ErrorInfo info;
        info.description = "Open error";
        info.operation = ReportedName(ctx, bag, rdd::kOrderBagExt);
        info.os_code = failed.IsNotFound() ? 2 : 0;  // the system's "file not found"
        info.subsystem = "DBFCDX";
        info.gen_code = 21;
        return info;
      });
  return s.ok();
}

}  // namespace qv::tables
