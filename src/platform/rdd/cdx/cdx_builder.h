// Bulk loading: a tag's tree written from keys already in order, leaf pages
// filled one after another and interior levels built as pages complete, in
// the page order the reference runtime produces. Also the key list a build
// starts from and its sort.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rdd/cdx/cdx_node.h"
#include "platform/rdd/cdx/cdx_pager.h"

namespace qv::rdd::cdx {

// (key, record) pairs with the keys back to back.
struct KeyList {
  explicit KeyList(size_t len = 0) : key_len(len) {}
  size_t key_len;
  std::string keys;
  std::vector<uint32_t> recnos;

  size_t size() const { return recnos.size(); }
  std::string_view key(size_t i) const {
    return std::string_view(keys).substr(i * key_len, key_len);
  }
  // REQUIRES: key.size() == key_len.
  void Add(std::string_view key, uint32_t recno) {
    keys.append(key);
    recnos.push_back(recno);
  }
};

// The positions of the list's entries in a tag's order (key bytes, then
// record number), leaving the list as it is: a build can follow it without
// a sorted copy of the keys.
std::vector<uint32_t> SortOrder(const KeyList& list);
// Reorders the list itself into a tag's order.
void SortKeys(KeyList* list);
// Keeps only the first (lowest-record) entry of each key. REQUIRES: sorted.
void KeepFirstOfEachKey(KeyList* list);

// Writes a tree into free pages of the pager's file, then at its end.
class TreeBuilder {
 public:
  TreeBuilder(Pager& pager, size_t key_len, uint8_t fill);

  // REQUIRES: (key, recno) not below the previous one; key.size() == key_len.
  Status Add(std::string_view key, uint32_t recno);
  // Completes the levels and returns the root page's offset.
  Result<uint32_t> Finish();

 private:
  struct Level {
    Node node;
    uint32_t offset = 0;
  };
  Status Push(size_t level, std::string_view key, uint32_t recno, uint32_t child);
  Status WritePage(uint32_t offset, const Node& node);
  Status FlushBuffer();

  Pager& pager_;
  size_t key_len_;
  uint8_t fill_;
  LeafSizer sizer_;
  std::vector<Level> levels_;
  std::string last_key_;  // carried up when a page completes
  std::string buffer_;    // consecutive pages not yet written
  uint64_t buffer_start_ = 0;
  uint64_t written_end_ = 0;  // end of the last run written
  uint64_t fresh_start_;      // the file end when the build began
};

}  // namespace qv::rdd::cdx
