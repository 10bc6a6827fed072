// Index bags of the media: the CDX bags of a table built with the table
// engine's bag code from keys evaluated over the table's rows, and the
// tags a file dictionary describes for a table (one tag a bag, named after
// the bag, its key completed as the re-index completes FIELD(n)).
#pragma once

#include <string>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/cdx/cdx_builder.h"
#include "platform/rdd/cdx/cdx_key.h"
#include "table_source.h"

namespace qv::media {

// Which tables of a folder get the bags a file dictionary describes:
// product-wide tables (FDCODEP not "Y") or company tables ("Y").
enum class BagScope { kProduct, kCompany };

// The key the re-index builds from a dictionary key: "FIELD(" at position p
// (1-based) makes it the first p - 2 characters, "+" and the name of the
// table's second field ("CODE+FIELD(2)" -> "CODE+DESC"); other keys as given.
std::string CompleteKey(const std::string& key, const TableSource& table);

// The tags filedict describes for table (matched by FDFILE, any case), when
// the row's company flag fits scope; none for other tables.
std::vector<TagDef> TagsFromDictionary(const TableSource& filedict, const TableSource& table,
                                       BagScope scope);

// The bag file of tag t of table: "" or the table's base name is the
// structural bag (same base name as the table).
std::string BagFileName(const TableSource& table, const TagDef& t);
// Whether any of tags goes into the structural bag.
bool HasStructuralBag(const TableSource& table, const std::vector<TagDef>& tags);

// The sorted keys of tag t over every row of table (those passing its
// condition), and their type. Errors as WriteBags.
Result<rdd::cdx::KeyList> TagKeys(const TableSource& table, const TagDef& t,
                                  rdd::cdx::KeyType* type);

// Writes (replacing) one bag file per bag named in tags into folder (host
// path), every tag built from table's rows, deleted rows included.
// InvalidArgument naming the table and tag when a key or condition does
// not compile, fails on a row, changes type or width between rows, or a
// condition is not logical.
Status WriteBags(fs::Env& env, const TableSource& table, const std::vector<TagDef>& tags,
                 const std::string& folder);

}  // namespace qv::media
