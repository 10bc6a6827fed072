#include "cdx_test_util.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/runtime/date.h"
#include "testing/testing.h"

namespace qv::rdd::cdx::testing {

const json::Json& LoadTruth(const std::string& table) {
  static std::map<std::string, json::Json> cache;
  auto it = cache.find(table);
  if (it != cache.end()) return it->second;
  const std::string text = qv::testing::ReadHostFile(qv::testing::SharedDir() + "/fixtures/xbase/" +
                                                     table + ".dbf.json");
  auto parsed = json::Parse(text);
  EXPECT_TRUE(parsed.ok()) << table << ": " << parsed.status().ToString();
  return cache[table] = parsed.ok() ? std::move(parsed).value() : json::Json();
}

KeyList TruthKeys(const json::Json& tag_truth) {
  const KeyType type = TypeFromLetter(tag_truth["key_type"].str());
  const auto key_len = static_cast<size_t>(tag_truth["key_size"].number());
  KeyList list(key_len);
  const auto& order = tag_truth["order_deleted_off"].items();
  const auto& keys = tag_truth["keys_deleted_off"].items();
  for (size_t i = 0; i < order.size(); ++i) {
    list.Add(TruthKey(keys[i], type, key_len), static_cast<uint32_t>(order[i].number()));
  }
  if (tag_truth["descending"].boolean()) {
    KeyList reversed(key_len);
    for (size_t i = list.size(); i > 0; --i) reversed.Add(list.key(i - 1), list.recnos[i - 1]);
    return reversed;
  }
  return list;
}

std::vector<bool> DeletedFlags(const std::string& dbf_path) {
  const std::string dbf = qv::testing::ReadHostFile(dbf_path);
  auto byte = [&](size_t i) { return static_cast<uint8_t>(dbf[i]); };
  const uint32_t count = byte(4) | (byte(5) << 8) | (byte(6) << 16) | (uint32_t{byte(7)} << 24);
  const size_t header = byte(8) | (byte(9) << 8);
  const size_t record = byte(10) | (byte(11) << 8);
  std::vector<bool> flags(count);
  for (uint32_t r = 0; r < count; ++r) flags[r] = dbf[header + r * record] == '*';
  return flags;
}

KeyType TypeFromLetter(const std::string& letter) {
  if (letter == "N") return KeyType::kNumeric;
  if (letter == "D") return KeyType::kDate;
  if (letter == "L") return KeyType::kLogical;
  return KeyType::kChar;
}

std::string TruthKey(const json::Json& value, KeyType type, size_t key_len) {
  switch (type) {
    case KeyType::kChar:
      return EncodeChar(value.str(), key_len);
    case KeyType::kNumeric:
      return EncodeNumber(value.number());
    case KeyType::kDate:
      return EncodeDate(rt::Date::FromDtos(value.str()).julian());
    case KeyType::kLogical:
      return EncodeLogical(value.boolean());
  }
  return {};
}

std::vector<Entry> ReadAll(Tag& tag) {
  std::vector<Entry> out;
  Cursor cursor(tag);
  Status s = cursor.First();
  while (s.ok() && !cursor.eof()) {
    out.push_back({std::string(cursor.key()), cursor.recno()});
    s = cursor.Next();
  }
  EXPECT_TRUE(s.ok()) << s.ToString();
  return out;
}

}  // namespace qv::rdd::cdx::testing
