// Bulk operations between tables: copy the visible records to a new table,
// append another table's records by field name, copy a structure, write a
// structure-extended listing, and the structure as a list (DBSTRUCT).
// Zap and pack live on Table and in pack.h.
#pragma once

#include <string>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/dbf_format.h"
#include "platform/rdd/table.h"
#include "platform/rdd/work_area.h"

namespace qv::rdd {

// DBSTRUCT: name, type, width, decimals of every field in order.
std::vector<FieldSpec> Structure(const Table& table);

// The fields of table named in names (any case), in the table's order; all
// of them when names is empty. InvalidArgument for a name that is no field.
Result<std::vector<FieldSpec>> SelectFields(const Table& table,
                                            const std::vector<std::string>& names);

// __DBCOPYSTRUCT: an empty table at dest_path with the selected fields.
Status CopyStructure(const Table& table, const std::string& dest_path,
                     const std::vector<std::string>& names);

// __DBCOPYXSTRUCT: a table at dest_path with FIELD_NAME C10, FIELD_TYPE C1,
// FIELD_LEN N3 and FIELD_DEC N3, one record per field of table.
Status CopyStructureExtended(const Table& table, const std::string& dest_path);

// __DBCOPY: the records area shows (deleted setting, filter, order), from
// the top, into a new table at dest_path with the selected fields; memo
// texts are copied into the new memo file. Leaves area at EOF.
Status CopyTo(WorkArea& area, const std::string& dest_path, const std::vector<std::string>& names);

// __DBAPP: appends the records of the table at source_path that are
// visible under settings to area, carrying each selected field of area
// (all when names is empty) from the source field of the same name. Values
// of a different type are left blank, except text between C and M fields.
// The source is opened shared and read-only.
Status AppendFrom(WorkArea& area, const std::string& source_path,
                  const std::vector<std::string>& names, const EngineSettings& settings);

}  // namespace qv::rdd
