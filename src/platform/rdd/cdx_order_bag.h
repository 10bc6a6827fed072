// The CDX bag behind the order seam: tags as Orders whose keys come from
// their key and FOR expressions evaluated on the records, kept current on
// every record write, rebuilt beside for pack and verified by check.
#pragma once

#include <memory>
#include <string>

#include "platform/rdd/order.h"

namespace qv::rdd {

// Opens the CDX bag at host path for table, holding the file's share lock
// in mode share (shared: the bag's index lock guards each step).
// Corruption for a damaged header or directory; InvalidArgument when a
// tag's key expression does not compile for table.
Result<std::unique_ptr<OrderBag>> OpenCdxBag(fs::Env& env, const std::string& path, Table& table,
                                             fs::ShareMode share, bool read_only);
// Creates an empty CDX bag at path (replacing any file) and opens it.
Result<std::unique_ptr<OrderBag>> CreateCdxBag(fs::Env& env, const std::string& path,
                                               Table& table);
// Where a rebuild or zap writes the new bag before renaming it over the old.
inline constexpr char kBagNewSuffix[] = ".rb-new";
// Removes a new bag that an interrupted rebuild or zap left beside the bag
// at path, unless its writer still holds it; a no-op when there is none.
// Every writable open of a bag calls it first.
Status RecoverInterruptedRebuild(fs::Env& env, const std::string& path);

// The opener a Workspace uses so that structural bags open with tables.
BagOpener CdxBagOpener();

}  // namespace qv::rdd
