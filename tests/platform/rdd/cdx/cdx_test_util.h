// Shared by the CDX tests: truth files of the fixtures, deletion flags read
// straight from a table's bytes, and truth keys turned into key bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rdd/cdx/cdx_bag.h"
#include "platform/runtime/json.h"

namespace qv::rdd::cdx::testing {

// The parsed fixtures/xbase/<table>.dbf.json (parsed once per process: the
// big table's truth is 12 MB).
const json::Json& LoadTruth(const std::string& table);
// The truth of one tag, as a sorted key list (the tag's stored order).
KeyList TruthKeys(const json::Json& tag_truth);
// Deletion flag of every record (index 0 = record 1) of a .dbf file.
std::vector<bool> DeletedFlags(const std::string& dbf_path);
// 'C', 'N', 'D', 'L' to a key type.
KeyType TypeFromLetter(const std::string& letter);
// A truth file's key value as key bytes of the given type and length.
std::string TruthKey(const json::Json& value, KeyType type, size_t key_len);

// Every (key, recno) of a tag in the tag's order.
struct Entry {
  std::string key;
  uint32_t recno;
  bool operator==(const Entry&) const = default;
};
std::vector<Entry> ReadAll(Tag& tag);

}  // namespace qv::rdd::cdx::testing
