// Fuzzes the CDX reader: the input is a bag file; it is opened and every tag
// is walked both ways, sought and checked under each key type, and the first
// page is decoded at several key lengths. Damage must come back as a Status.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fs/env.h"
#include "platform/rdd/cdx/cdx_bag.h"

namespace {

using namespace qv::rdd::cdx;  // NOLINT: a fuzz driver

void WalkTag(Bag& bag, size_t t, KeyType type) {
  auto tag = bag.OpenTag(t, type);
  if (!tag.ok()) return;
  Cursor cursor(**tag);
  std::string some_key;
  for (qv::Status s = cursor.First(); s.ok() && !cursor.eof(); s = cursor.Next()) {
    some_key.assign(cursor.key());
  }
  for (qv::Status s = cursor.Last(); s.ok() && !cursor.eof(); s = cursor.Prev()) {
  }
  if (cursor.Seek(some_key).ok() && !cursor.eof()) (void)cursor.Position();
  (void)cursor.Seek(some_key, true);
  uint64_t count = 0;
  (void)bag.CheckTag(t, type, &count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= kPageSize) {
    Node node;
    for (size_t key_len : {1, 8, 10, 30, 240}) {
      (void)DecodePage(data, key_len, ' ', PageRef{"page", 0}, &node);
    }
  }
  if (size > (4u << 20)) return 0;
  auto env = qv::fs::NewMemEnv();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!qv::fs::WriteWholeFile(*env, "/f.cdx", bytes, false).ok()) return 0;
  auto bag = Bag::Open(*env, "/f.cdx", BagOptions{false, true});
  if (!bag.ok()) return 0;
  (void)(*bag)->CheckDirectory();
  for (size_t t = 0; t < (*bag)->tag_count() && t < 64; ++t) {
    for (KeyType type : {KeyType::kChar, KeyType::kNumeric}) WalkTag(**bag, t, type);
  }
  return 0;
}
