#include "platform/rdd/cdx/cdx_check.h"

#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {

namespace {

struct Expected {
  uint32_t offset;
  std::string key;  // the parent's entry: last key and record of the page
  uint32_t recno;
};

// -1, 0, 1 as (a, ra) compares with (b, rb).
int CompareEntries(std::string_view a, uint32_t ra, std::string_view b, uint32_t rb) {
  const int cmp = a.compare(b);
  if (cmp != 0) return cmp < 0 ? -1 : 1;
  return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

}  // namespace

Status CheckTree(const Tree& tree, bool unique, uint64_t* key_count) {
  Pager& pager = tree.pager();
  std::vector<Expected> level{{tree.root(), std::string(), 0}};
  std::unordered_set<uint32_t> seen;
  Node node;
  *key_count = 0;
  for (size_t depth = 0; depth < kMaxTreeDepth; ++depth) {
    std::vector<Expected> next;
    std::string prev_key;
    uint32_t prev_recno = 0;
    bool have_prev = false;
    bool leaf_level = false;
    for (size_t j = 0; j < level.size(); ++j) {
      const uint32_t offset = level[j].offset;
      if (!seen.insert(offset).second) return pager.Corrupt(offset, "page reached twice");
      QV_RETURN_IF_ERROR(tree.ReadNode(offset, &node));
      if (j == 0) leaf_level = node.leaf();
      if (node.leaf() != leaf_level)
        return pager.Corrupt(offset, "leaf and interior pages mixed on one level");
      const uint32_t want_left = j == 0 ? kNoPage : level[j - 1].offset;
      const uint32_t want_right = j + 1 < level.size() ? level[j + 1].offset : kNoPage;
      if (node.left != want_left)
        return pager.Corrupt(offset + kPageLeft, "left sibling link is wrong");
      if (node.right != want_right)
        return pager.Corrupt(offset + kPageRight, "right sibling link is wrong");
      if (node.size() == 0) {
        if (depth == 0 && node.leaf()) break;
        return pager.Corrupt(offset, "page without keys below the root");
      }
      const size_t last = node.size() - 1;
      if (depth > 0 && (node.key(last) != level[j].key || node.recnos[last] != level[j].recno)) {
        return pager.Corrupt(offset, "last key differs from its parent's entry");
      }
      for (size_t i = 0; i < node.size(); ++i) {
        if (have_prev) {
          const int cmp = CompareEntries(prev_key, prev_recno, node.key(i), node.recnos[i]);
          const bool bad = cmp >= 0 || (unique && node.leaf() && prev_key == node.key(i));
          if (bad) {
            return pager.Corrupt(offset, "key " + std::to_string(i) + " out of order" +
                                             (cmp < 0 ? " (repeated in a unique tag)" : ""));
          }
        }
        prev_key.assign(node.key(i));
        prev_recno = node.recnos[i];
        have_prev = true;
        if (!node.leaf()) next.push_back({node.children[i], prev_key, prev_recno});
      }
      if (node.leaf()) *key_count += node.size();
    }
    if (leaf_level) return Status::OK();
    level = std::move(next);
  }
  return pager.Corrupt(tree.root(),
                       "tree deeper than " + std::to_string(kMaxTreeDepth) + " levels");
}

Status CheckFreeList(Pager& pager) {
  uint64_t steps = 0;
  uint8_t page[kPageSize];
  for (uint32_t offset = pager.free_head(); offset != 0 && offset != kNoPage;
       offset = Le32(page + kFreeNext)) {
    if (++steps > pager.end() / kPageSize)
      return pager.Corrupt(offset, "cycle in the free-page list");
    QV_RETURN_IF_ERROR(pager.Read(offset, page));
  }
  return Status::OK();
}

}  // namespace qv::rdd::cdx
