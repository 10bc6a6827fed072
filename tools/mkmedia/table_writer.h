// Writes a parsed table source as a real DBF (with its DBT when a field is a
// memo) through the table engine, so the media is written by the same code
// that reads it. Rows keep their order; deleted rows are written deleted.
#pragma once

#include <string>

#include "platform/fs/env.h"
#include "platform/runtime/date.h"
#include "table_source.h"

namespace qv::media {

// Creates (replacing) the table at host path dbf_path and appends every row
// of table. today is stamped into the header, so a build is reproducible;
// structural_bag marks the header as having a structural index bag.
// REQUIRES: table's rows passed CheckCell (ParseTableSource did that).
Status WriteTable(fs::Env& env, const TableSource& table, const std::string& dbf_path,
                  rt::Date today, bool structural_bag = false);

}  // namespace qv::media
