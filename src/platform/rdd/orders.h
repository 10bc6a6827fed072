// The order list of a work area: bags added and cleared, tags created and
// rebuilt, the controlling order chosen by name or number, and what the
// order functions report (index order, bag name, key text, key position).
// Orders are numbered from 1 across the open bags, structural bag first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rdd/order.h"
#include "platform/rdd/work_area.h"

namespace qv::rdd {

inline constexpr char kOrderBagExt[] = ".cdx";

// Opens the bag at host path into the order list; when no order controls
// the area, the bag's first tag does. An already open bag is not reopened.
Status OrderListAdd(WorkArea& area, const std::string& bag_path);
// Closes every bag but the structural one; record order controls.
Status OrderListClear(WorkArea& area);
// Builds a tag of spec in the bag at host path (opened or created as
// needed) and makes it the controlling order. progress may be empty.
// Cancelled when progress stopped the build: the bag is as it was.
Status OrderCreate(WorkArea& area, const std::string& bag_path, const OrderSpec& spec,
                   const BuildProgress& progress);
// Rebuilds every tag of every open bag; the area goes to the top.
Status OrderListRebuild(WorkArea& area);

// Sets the controlling order: by tag name (any case; "" is record order)
// or by number (0 is record order). NotFound when no such order is open.
Status SetFocus(WorkArea& area, std::string_view name);
Status SetFocus(WorkArea& area, int number);
// Number of the controlling order; 0 for record order.
int IndexOrd(WorkArea& area);
// The order with this number (1-based); null when none.
Order* OrderByNumber(WorkArea& area, int number);
// The bag holding order number (0: the controlling one) as the path it was
// opened with, in upper case; "" when none.
std::string OrderBagName(WorkArea& area, int number = 0);

// 1-based position of the current record among the keys of the controlling
// order; 0 at end of file, without an order, or when the record has no key.
Result<uint32_t> KeyPosition(WorkArea& area);

}  // namespace qv::rdd
