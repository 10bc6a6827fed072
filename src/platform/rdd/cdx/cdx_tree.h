// One tag's B+tree over a Pager: descent to a key, and the single-key insert
// and delete that keep the tree valid (page splits, merges of thin pages,
// a root that grows and shrinks, freed pages onto the free list).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rdd/cdx/cdx_node.h"
#include "platform/rdd/cdx/cdx_pager.h"

namespace qv::rdd::cdx {

// One page on the way from the root to a leaf and the entry taken there.
struct PathStep {
  uint32_t offset = 0;
  Node node;
  size_t index = 0;
};
using Path = std::vector<PathStep>;

// What a descent looks for: the first entry whose key starts with something
// not below key (key may be a prefix) and, among equal keys, whose record is
// not below recno. With after set: the first entry past every key starting
// with key.
struct SeekTarget {
  std::string_view key;
  uint32_t recno = 0;
  bool after = false;
};

// Deepest tree a reader follows before calling the file damaged (a cycle of
// child pointers would otherwise never end).
inline constexpr size_t kMaxTreeDepth = 32;

class Tree {
 public:
  // root_word: file offset of the 4-byte root pointer rewritten when the
  // root moves (the tag header's offset 0).
  Tree(Pager& pager, uint32_t root, uint64_t root_word, size_t key_len, uint8_t fill)
      : pager_(&pager), root_(root), root_word_(root_word), key_len_(key_len), fill_(fill) {}

  Pager& pager() const { return *pager_; }
  uint32_t root() const { return root_; }
  size_t key_len() const { return key_len_; }
  uint8_t fill() const { return fill_; }

  Status ReadNode(uint32_t offset, Node* node) const;
  // Fills path from the root to the leaf holding the first entry matching
  // target; the leaf index equals the leaf's size when no entry there does
  // (then the answer, if any, is the first entry of a later leaf).
  Status Descend(const SeekTarget& target, Path* path) const;
  // The same for readers: interior pages are searched in place and the
  // leaf's page is copied to page (kPageSize bytes), its offset to *offset.
  Status DescendToLeafPage(const SeekTarget& target, uint8_t* page, uint32_t* offset) const;
  // The first entry of a leaf page (read at offset) not before target.
  struct LeafHit {
    size_t index = 0;  // the page's count when no entry there is
    size_t count = 0;
    std::string key;  // the entry's key and record when index < count
    uint32_t recno = 0;
  };
  Status FindInLeaf(const uint8_t* page, uint32_t offset, const SeekTarget& target,
                    LeafHit* hit) const;
  // Path to the first (last false) or last entry of the tree.
  Status DescendEdge(bool last, Path* path) const;

  // REQUIRES: key.size() == key_len(); the caller holds the write lock.
  Status Insert(std::string_view key, uint32_t recno);
  // NotFound when (key, recno) is not in the tree.
  Status Remove(std::string_view key, uint32_t recno);
  // Puts every page of the tree on the free list.
  Status FreeAll();

 private:
  Status StoreUp(Path& path, size_t level);
  Status FixUp(Path& path, size_t level);
  Status SplitAndStore(Path& path, size_t level);
  Status Store(uint32_t offset, const Node& node);
  Status SetRoot(uint32_t offset);
  Status Unlink(uint32_t left, uint32_t right);
  Status PatchLink(uint32_t page, size_t field, uint32_t value);
  Result<bool> TryMerge(Path& path, size_t level);
  std::vector<size_t> SplitPoints(const Node& node) const;
  bool RangeFits(const Node& node, size_t from, size_t to) const;
  bool Thin(const Node& node) const;

  Pager* pager_;
  uint32_t root_;
  uint64_t root_word_;
  size_t key_len_;
  uint8_t fill_;
};

// Whether entry i of node is not before target (see SeekTarget).
bool NotBefore(const Node& node, size_t i, const SeekTarget& target);
// First entry of node not before target (node.size() when none).
size_t LowerBound(const Node& node, const SeekTarget& target);

}  // namespace qv::rdd::cdx
