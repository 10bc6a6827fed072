#include "platform/rdd/orders.h"

#include "platform/rdd/cdx_order_bag.h"
#include "platform/runtime/text.h"

namespace qv::rdd {
namespace {

OrderBag* FindBag(Table& table, const std::string& path) {
  for (const auto& bag : table.bags()) {
    if (bag->Path() == path) return bag.get();
  }
  return nullptr;
}

// A bag named after the table, beside it, is its structural bag. Only an
// exclusive open may mark the header for it (the mark moves the lock layout);
// in shared use the bag stays an ordinary one until an exclusive create.
bool BecomesStructural(const Table& table, const std::string& bag_path) {
  return table.structural_bag() == nullptr && table.exclusive() && !table.read_only() &&
         rt::Upper(bag_path) == rt::Upper(SiblingPath(table.env(), table.path(), ".cdx"));
}

fs::ShareMode ShareOf(const Table& table) {
  return table.exclusive() ? fs::ShareMode::kExclusive : fs::ShareMode::kShared;
}

}  // namespace

Status OrderListAdd(WorkArea& area, const std::string& bag_path) {
  Table& table = area.table();
  // A bag open already (the structural one, opened with the table) is not
  // opened twice, but still gives the controlling order when there is none.
  OrderBag* added = FindBag(table, bag_path);
  if (added == nullptr) {
    QV_ASSIGN_OR_RETURN(auto bag, OpenCdxBag(table.env(), bag_path, table, ShareOf(table),
                                             table.read_only()));
    added = bag.get();
    table.AddBag(std::move(bag));
  }
  if (area.order() == nullptr && added->OrderCount() > 0) area.SetOrder(added->OrderAt(0));
  return Status::OK();
}

Status OrderListClear(WorkArea& area) {
  QV_RETURN_IF_ERROR(area.FlushRecord());
  area.SetOrder(nullptr);
  return area.table().CloseOtherBags();
}

Status OrderCreate(WorkArea& area, const std::string& bag_path, const OrderSpec& spec,
                   const BuildProgress& progress) {
  QV_RETURN_IF_ERROR(area.Flush());
  Table& table = area.table();
  OrderBag* bag = FindBag(table, bag_path);
  if (bag == nullptr) {
    Result<std::unique_ptr<OrderBag>> opened =
        table.env().Stat(bag_path).ok()
            ? OpenCdxBag(table.env(), bag_path, table, ShareOf(table), table.read_only())
            : CreateCdxBag(table.env(), bag_path, table);
    QV_RETURN_IF_ERROR(opened.status());
    bag = opened->get();
    if (BecomesStructural(table, bag_path)) {
      QV_RETURN_IF_ERROR(table.AddStructuralBag(std::move(opened).value()));
    } else {
      table.AddBag(std::move(opened).value());
    }
  }
  area.SetOrder(nullptr);  // the bag's orders may move while it changes
  QV_RETURN_IF_ERROR(bag->CreateOrder(table, spec, progress));
  const std::string name = rt::Upper(spec.name);
  for (size_t i = 0; i < bag->OrderCount(); ++i) {
    Order* order = bag->OrderAt(i);
    if (name.empty() ? i + 1 == bag->OrderCount() : order->Name() == name) area.SetOrder(order);
  }
  return area.GoTop();
}

Status OrderListRebuild(WorkArea& area) {
  QV_RETURN_IF_ERROR(area.Flush());
  const int focus = IndexOrd(area);
  const std::string name = focus == 0 ? std::string() : area.order()->Name();
  area.SetOrder(nullptr);
  for (const auto& bag : area.table().bags()) QV_RETURN_IF_ERROR(bag->Rebuild(area.table()));
  if (!name.empty()) QV_RETURN_IF_ERROR(SetFocus(area, name));
  return area.GoTop();
}

Order* OrderByNumber(WorkArea& area, int number) {
  if (number < 1) return nullptr;
  size_t left = static_cast<size_t>(number - 1);
  for (const auto& bag : area.table().bags()) {
    if (left < bag->OrderCount()) return bag->OrderAt(left);
    left -= bag->OrderCount();
  }
  return nullptr;
}

Status SetFocus(WorkArea& area, std::string_view name) {
  const std::string want = rt::Upper(name);
  if (want.empty()) return SetFocus(area, 0);
  for (int n = 1;; ++n) {
    Order* order = OrderByNumber(area, n);
    if (order == nullptr) break;
    if (order->Name() == want) return SetFocus(area, n);
  }
  return Status::NotFound(area.alias() + ": no order " + want);
}

Status SetFocus(WorkArea& area, int number) {
  Order* order = OrderByNumber(area, number);
  if (number != 0 && order == nullptr) {
    return Status::NotFound(area.alias() + ": no order " + std::to_string(number));
  }
  QV_RETURN_IF_ERROR(area.FlushRecord());
  area.SetOrder(order);
  return Status::OK();
}

int IndexOrd(WorkArea& area) {
  if (area.order() == nullptr) return 0;
  for (int n = 1;; ++n) {
    Order* order = OrderByNumber(area, n);
    if (order == nullptr) return 0;
    if (order == area.order()) return n;
  }
}

std::string OrderBagName(WorkArea& area, int number) {
  Order* order = number == 0 ? area.order() : OrderByNumber(area, number);
  if (order == nullptr) return std::string();
  for (const auto& bag : area.table().bags()) {
    for (size_t i = 0; i < bag->OrderCount(); ++i) {
      if (bag->OrderAt(i) == order) return rt::Upper(bag->Path());
    }
  }
  return std::string();
}

Result<uint32_t> KeyPosition(WorkArea& area) {
  if (area.order() == nullptr || area.Eof()) return 0u;
  QV_RETURN_IF_ERROR(area.FlushRecord());
  return area.order()->KeyNo(area.RecNo());
}

}  // namespace qv::rdd
