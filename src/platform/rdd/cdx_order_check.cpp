// Verifying a CDX bag's tags against the table's records.
#include <algorithm>

#include "platform/rdd/detail/cdx_adapter.h"
#include "platform/rdd/table.h"

namespace qv::rdd {

Status CdxOrderBag::Check(Table& table, std::vector<std::string>* faults) {
  Status dir = bag_->CheckDirectory();
  if (!dir.ok()) {
    faults->push_back(path_ + ": " + dir.message());
    return Status::OK();
  }
  for (size_t i = 0; i < orders_.size(); ++i) QV_RETURN_IF_ERROR(CheckOrder(table, i, faults));
  return Status::OK();
}

// The tag must hold exactly the keys the records give, in order; a unique
// tag one entry per distinct key, each naming a record with that key.
Status CdxOrderBag::CheckOrder(Table& table, size_t i, std::vector<std::string>* faults) {
  CdxOrder& order = *orders_[i];
  const std::string where = path_ + ": tag " + order.Name() + ": ";
  uint64_t count = 0;
  Status tree = bag_->CheckTag(i, order.expr().type(), &count);
  if (!tree.ok()) {
    faults->push_back(where + tree.message());
    return Status::OK();
  }
  QV_RETURN_IF_ERROR(Reload());  // CheckTag may have reopened the tag
  CdxOrder& bound = *orders_[i];
  cdx::KeyList expected(bound.expr().key_len());
  Status collected = CollectKeys(table, bound.expr(), &expected, nullptr);
  if (!collected.ok()) {
    faults->push_back(where + collected.message());
    return Status::OK();
  }
  cdx::SortKeys(&expected);
  const bool unique = bound.tag().info().unique;
  if (unique) cdx::KeepFirstOfEachKey(&expected);

  cdx::KeyList held(expected.key_len);
  cdx::Cursor cursor(bound.tag());
  QV_RETURN_IF_ERROR(cursor.First());
  while (!cursor.eof()) {
    held.Add(cursor.key(), cursor.recno());
    QV_RETURN_IF_ERROR(cursor.Next());
  }
  if (bound.Descending()) {  // compare in ascending order
    cdx::SortKeys(&held);
  }
  if (held.size() != expected.size()) {
    faults->push_back(where + std::to_string(held.size()) + " keys, the records give " +
                      std::to_string(expected.size()));
    return Status::OK();
  }
  for (size_t k = 0; k < held.size(); ++k) {
    const bool same_key = held.key(k) == expected.key(k);
    if (same_key && (unique || held.recnos[k] == expected.recnos[k])) continue;
    faults->push_back(where + "entry " + std::to_string(k + 1) + " (record " +
                      std::to_string(held.recnos[k]) + ") disagrees with the records");
    return Status::OK();
  }
  if (unique) {  // each entry's record must still give its key
    for (size_t k = 0; k < held.size(); ++k) {
      QV_ASSIGN_OR_RETURN(std::string_view view, table.ReadRecord(held.recnos[k]));
      const std::string image(view);
      std::string key;
      QV_ASSIGN_OR_RETURN(bool has, bound.KeyOf(held.recnos[k], image, &key));
      if (!has || key != held.key(k)) {
        faults->push_back(where + "record " + std::to_string(held.recnos[k]) +
                          " no longer gives its key");
        return Status::OK();
      }
    }
  }
  return Status::OK();
}

}  // namespace qv::rdd
