#include "tables/order_bags.h"

#include "platform/rdd/orders.h"

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
        info.operation = std::string(bag) + ": " + failed.ToString();
        info.subsystem = "DBFCDX";
        info.gen_code = 21;
        return info;
      });
  return s.ok();
}

}  // namespace qv::tables
