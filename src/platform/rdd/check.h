// Verifying a table: header, record count against the file size, deletion
// flags, memo pointers and, through the open bags, every tag. Used by
// `xbtool check`; faults are the same text Status::Corruption gives.
#pragma once

#include <string>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/order.h"

namespace qv::rdd {

// Checks the table at host path, opened shared and read-only (nothing is
// repaired). Appends one line per fault to faults; an empty list means the
// table is sound. A non-OK status means the check itself could not run
// (the file is missing or in exclusive use elsewhere).
Status CheckTable(fs::Env& env, const std::string& path, const BagOpener* bag_opener,
                  std::vector<std::string>* faults);

}  // namespace qv::rdd
