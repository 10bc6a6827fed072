#include "platform/rdd/cdx/cdx_tree.h"

#include <cstring>

#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {

namespace {

bool EntryNotBefore(const char* key, size_t key_len, uint32_t recno, const SeekTarget& target) {
  const size_t n = std::min(target.key.size(), key_len);
  const int cmp = n == 0 ? 0 : std::memcmp(key, target.key.data(), n);
  if (target.after) return cmp > 0;
  return cmp > 0 || (cmp == 0 && recno >= target.recno);
}

}  // namespace

bool NotBefore(const Node& node, size_t i, const SeekTarget& target) {
  return EntryNotBefore(node.keys.data() + i * node.key_len, node.key_len, node.recnos[i], target);
}

size_t LowerBound(const Node& node, const SeekTarget& target) {
  size_t lo = 0;
  size_t hi = node.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (NotBefore(node, mid, target)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

Status Tree::ReadNode(uint32_t offset, Node* node) const {
  uint8_t page[kPageSize];
  QV_RETURN_IF_ERROR(pager_->Read(offset, page));
  return DecodePage(page, key_len_, fill_, PageRef{pager_->path(), offset}, node);
}

namespace {

// Walks from the root choosing a child per level with pick(node).
template <typename Pick>
Status Walk(const Tree& tree, Path* path, Pick pick) {
  uint32_t offset = tree.root();
  for (size_t depth = 0; depth < kMaxTreeDepth; ++depth) {
    if (path->size() <= depth) path->resize(depth + 1);
    PathStep& step = (*path)[depth];
    step.offset = offset;
    QV_RETURN_IF_ERROR(tree.ReadNode(offset, &step.node));
    step.index = pick(step.node);
    if (step.node.leaf()) {
      path->resize(depth + 1);
      return Status::OK();
    }
    if (step.node.size() == 0) return tree.pager().Corrupt(offset, "interior page without keys");
    if (step.index >= step.node.size()) step.index = step.node.size() - 1;
    offset = step.node.children[step.index];
  }
  return tree.pager().Corrupt(offset, "tree deeper than " + std::to_string(kMaxTreeDepth) +
                                          " levels (cycle of child pointers)");
}

}  // namespace

Status Tree::Descend(const SeekTarget& target, Path* path) const {
  return Walk(*this, path, [&](const Node& node) { return LowerBound(node, target); });
}

Status Tree::DescendToLeafPage(const SeekTarget& target, uint8_t* page, uint32_t* offset) const {
  const size_t entry = key_len_ + kIntEntryExtra;
  uint32_t at = root_;
  for (size_t depth = 0; depth < kMaxTreeDepth; ++depth) {
    QV_RETURN_IF_ERROR(pager_->Read(at, page));
    const size_t count = Le16(page + kPageCount);
    if ((Le16(page + kPageAttr) & kAttrLeaf) != 0) {
      *offset = at;
      return Status::OK();
    }
    if (count == 0 || count * entry > kIntEntrySpace) {  // the codec names the fault
      Node damaged;
      QV_RETURN_IF_ERROR(DecodePage(page, key_len_, fill_, PageRef{pager_->path(), at}, &damaged));
      return pager_->Corrupt(at, "interior page without keys");
    }
    size_t lo = 0;
    size_t hi = count;
    while (lo < hi) {
      const size_t mid = lo + (hi - lo) / 2;
      const uint8_t* e = page + kIntEntries + mid * entry;
      if (EntryNotBefore(reinterpret_cast<const char*>(e), key_len_, Be32(e + key_len_), target)) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    at = Be32(page + kIntEntries + std::min(lo, count - 1) * entry + key_len_ + 4);
  }
  return pager_->Corrupt(at, "tree deeper than " + std::to_string(kMaxTreeDepth) +
                                 " levels (cycle of child pointers)");
}

// Keys are rebuilt one at a time in one buffer and compared as they come:
// no Node is filled, and the walk stops at the entry.
Status Tree::FindInLeaf(const uint8_t* page, uint32_t offset, const SeekTarget& target,
                        LeafHit* hit) const {
  LeafReader reader(page, key_len_, PageRef{pager_->path(), offset});
  QV_RETURN_IF_ERROR(reader.Start());
  hit->count = reader.count();
  hit->key.assign(key_len_, static_cast<char>(fill_));
  char* key = hit->key.data();
  LeafReader::Entry e;
  for (size_t i = 0; i < hit->count; ++i) {
    QV_RETURN_IF_ERROR(reader.Next(&e));
    std::memcpy(key + e.dup, e.text, e.stored);
    std::memset(key + e.dup + e.stored, fill_, e.trail);
    if (EntryNotBefore(key, key_len_, e.recno, target)) {
      hit->index = i;
      hit->recno = e.recno;
      return Status::OK();
    }
  }
  hit->index = hit->count;
  return Status::OK();
}

Status Tree::DescendEdge(bool last, Path* path) const {
  return Walk(*this, path, [&](const Node& node) -> size_t {
    if (!last) return 0;
    return node.leaf() ? node.size() : node.size() - 1;
  });
}

Status Tree::Store(uint32_t offset, const Node& node) {
  uint8_t page[kPageSize];
  if (!EncodeNode(node, fill_, page)) {
    return Status::InvalidArgument("index page content does not fit a page");
  }
  return pager_->Write(offset, page);
}

Status Tree::SetRoot(uint32_t offset) {
  root_ = offset;
  uint8_t word[4];
  for (int i = 0; i < 4; ++i) word[i] = static_cast<uint8_t>(offset >> (8 * i));
  return pager_->Patch(root_word_, word, sizeof word);
}

Status Tree::PatchLink(uint32_t page, size_t field, uint32_t value) {
  if (page == kNoPage) return Status::OK();
  uint8_t bytes[kPageSize];
  QV_RETURN_IF_ERROR(pager_->Read(page, bytes));  // validates the link
  uint8_t word[4];
  for (int i = 0; i < 4; ++i) word[i] = static_cast<uint8_t>(value >> (8 * i));
  return pager_->Patch(page + field, word, sizeof word);
}

Status Tree::Unlink(uint32_t left, uint32_t right) {
  QV_RETURN_IF_ERROR(PatchLink(left, kPageRight, right));
  return PatchLink(right, kPageLeft, left);
}

Status Tree::Insert(std::string_view key, uint32_t recno) {
  Path path;
  QV_RETURN_IF_ERROR(Descend(SeekTarget{key, recno, false}, &path));
  PathStep& leaf = path.back();
  leaf.node.InsertEntry(leaf.index, key, recno, 0);
  return StoreUp(path, path.size() - 1);
}

// Writes path[level] and carries a changed last key (or a split) upwards.
Status Tree::StoreUp(Path& path, size_t level) {
  for (;;) {
    PathStep& step = path[level];
    uint8_t page[kPageSize];
    if (!EncodeNode(step.node, fill_, page)) return SplitAndStore(path, level);
    QV_RETURN_IF_ERROR(pager_->Write(step.offset, page));
    if (level == 0) return Status::OK();
    Node& parent = path[level - 1].node;
    const size_t pi = path[level - 1].index;
    const size_t last = step.node.size() - 1;
    if (parent.key(pi) == step.node.key(last) && parent.recnos[pi] == step.node.recnos[last]) {
      return Status::OK();
    }
    parent.SetEntry(pi, step.node.key(last), step.node.recnos[last]);
    --level;
  }
}

bool Tree::RangeFits(const Node& node, size_t from, size_t to) const {
  LeafSizer sizer(key_len_, fill_);
  for (size_t i = from; i < to; ++i) {
    const std::string_view prev = i == from ? std::string_view() : node.key(i - 1);
    if (!sizer.Fits(prev, node.key(i), node.recnos[i])) return false;
    sizer.Add(prev, node.key(i), node.recnos[i]);
  }
  return true;
}

// Where an overfull node is cut: one cut near the middle when both halves
// fit, else as many greedy cuts as long keys need.
std::vector<size_t> Tree::SplitPoints(const Node& node) const {
  const size_t n = node.size();
  if (!node.leaf()) return {n / 2};
  for (size_t d = 0; d < n / 2; ++d) {
    for (size_t k : {n / 2 + d, n / 2 - d}) {
      if (k > 0 && k < n && RangeFits(node, 0, k) && RangeFits(node, k, n)) return {k};
    }
  }
  std::vector<size_t> cuts;
  size_t start = 0;
  for (size_t i = 1; i < n; ++i) {
    if (!RangeFits(node, start, i + 1)) {
      cuts.push_back(i);
      start = i;
    }
  }
  return cuts;
}

Status Tree::SplitAndStore(Path& path, size_t level) {
  PathStep& step = path[level];
  Node& node = step.node;
  const bool was_root = node.root();
  const uint32_t old_right = node.right;
  const std::vector<size_t> cuts = SplitPoints(node);
  node.attr = static_cast<uint16_t>(node.attr & ~kAttrRoot);
  std::vector<Node> pieces(cuts.size() + 1);
  for (size_t j = cuts.size(); j > 0; --j) {
    pieces[j].attr = node.attr;
    pieces[j].key_len = key_len_;
    node.MoveTail(cuts[j - 1], &pieces[j]);
  }
  pieces[0] = std::move(node);
  std::vector<uint32_t> offsets{step.offset};
  for (size_t j = 1; j < pieces.size(); ++j) {
    QV_ASSIGN_OR_RETURN(uint32_t offset, pager_->Allocate());
    offsets.push_back(offset);
  }
  for (size_t j = 0; j < pieces.size(); ++j) {
    if (j > 0) pieces[j].left = offsets[j - 1];
    pieces[j].right = j + 1 < pieces.size() ? offsets[j + 1] : old_right;
    QV_RETURN_IF_ERROR(Store(offsets[j], pieces[j]));
  }
  QV_RETURN_IF_ERROR(PatchLink(old_right, kPageLeft, offsets.back()));

  Node root;
  Node& parent = was_root ? root : path[level - 1].node;
  size_t pi = was_root ? 0 : path[level - 1].index;
  if (was_root) {
    root.attr = kAttrRoot;
    root.key_len = key_len_;
  } else {
    parent.EraseEntry(pi);
  }
  for (size_t j = 0; j < pieces.size(); ++j) {
    const size_t last = pieces[j].size() - 1;
    parent.InsertEntry(pi + j, pieces[j].key(last), pieces[j].recnos[last], offsets[j]);
  }
  if (!was_root) return StoreUp(path, level - 1);
  QV_ASSIGN_OR_RETURN(uint32_t root_offset, pager_->Allocate());
  QV_RETURN_IF_ERROR(Store(root_offset, root));
  return SetRoot(root_offset);
}

}  // namespace qv::rdd::cdx
