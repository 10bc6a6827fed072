// Deleting keys: empty pages leave the tree, thin pages merge with a
// neighbour under the same parent, and a root with one child gives way to it.
#include <cstring>
#include <unordered_set>

#include "platform/rdd/cdx/cdx_bytes.h"
#include "platform/rdd/cdx/cdx_tree.h"

namespace qv::rdd::cdx {

Status Tree::Remove(std::string_view key, uint32_t recno) {
  Path path;
  QV_RETURN_IF_ERROR(Descend(SeekTarget{key, recno, false}, &path));
  PathStep& leaf = path.back();
  if (leaf.index >= leaf.node.size() || leaf.node.key(leaf.index) != key ||
      leaf.node.recnos[leaf.index] != recno) {
    return Status::NotFound("key of record " + std::to_string(recno) + " not in the index");
  }
  leaf.node.EraseEntry(leaf.index);
  return FixUp(path, path.size() - 1);
}

// A page is thin when it is less than half full; only thin pages try to merge.
bool Tree::Thin(const Node& node) const {
  if (!node.leaf()) return node.size() * (key_len_ + kIntEntryExtra) < kIntEntrySpace / 2;
  uint8_t page[kPageSize];
  return EncodeLeaf(node, fill_, page) && Le16(page + kLeafFree) > kLeafKeyAreaSize / 2;
}

// Merges path[level] with its right or left neighbour under the same parent
// when both fit one page; the parent loses one entry. True when merged.
Result<bool> Tree::TryMerge(Path& path, size_t level) {
  PathStep& step = path[level];
  Node& parent = path[level - 1].node;
  const size_t pi = path[level - 1].index;
  uint8_t page[kPageSize];
  for (bool right : {true, false}) {
    if (right ? pi + 1 >= parent.size() : pi == 0) continue;
    const size_t keep = right ? pi : pi - 1;  // parent entry of the surviving page
    Node other;
    QV_RETURN_IF_ERROR(ReadNode(parent.children[right ? pi + 1 : pi - 1], &other));
    if (other.leaf() != step.node.leaf()) {
      return pager_->Corrupt(parent.children[keep], "sibling pages on different levels");
    }
    Node merged = right ? step.node : other;
    const Node& tail = right ? other : step.node;
    merged.Append(tail);
    merged.right = tail.right;
    if (!EncodeNode(merged, fill_, page)) continue;
    const uint32_t survivor = parent.children[keep];
    const uint32_t gone = parent.children[keep + 1];
    QV_RETURN_IF_ERROR(pager_->Write(survivor, page));
    QV_RETURN_IF_ERROR(PatchLink(merged.right, kPageLeft, survivor));
    QV_RETURN_IF_ERROR(pager_->Free(gone));
    const size_t last = merged.size() - 1;
    parent.SetEntry(keep, merged.key(last), merged.recnos[last]);
    parent.EraseEntry(keep + 1);
    path[level - 1].index = keep;
    return true;
  }
  return false;
}

Status Tree::FixUp(Path& path, size_t level) {
  for (;; --level) {
    PathStep& step = path[level];
    Node& node = step.node;
    if (level == 0) {
      while (!node.leaf() && node.size() == 1) {  // a root with one child gives way
        const uint32_t child = node.children[0];
        QV_RETURN_IF_ERROR(pager_->Free(step.offset));
        QV_RETURN_IF_ERROR(ReadNode(child, &node));
        node.attr |= kAttrRoot;
        node.left = node.right = kNoPage;
        step.offset = child;
        QV_RETURN_IF_ERROR(SetRoot(child));
      }
      if (!node.leaf() && node.size() == 0) {
        node.attr = kAttrRoot | kAttrLeaf;
        node.left = node.right = kNoPage;
      }
      return Store(step.offset, node);
    }
    Node& parent = path[level - 1].node;
    const size_t pi = path[level - 1].index;
    if (node.size() == 0) {
      QV_RETURN_IF_ERROR(Unlink(node.left, node.right));
      QV_RETURN_IF_ERROR(pager_->Free(step.offset));
      parent.EraseEntry(pi);
      continue;
    }
    if (Thin(node)) {
      QV_ASSIGN_OR_RETURN(bool merged, TryMerge(path, level));
      if (merged) continue;
    }
    QV_RETURN_IF_ERROR(Store(step.offset, node));
    const size_t last = node.size() - 1;
    if (parent.key(pi) == node.key(last) && parent.recnos[pi] == node.recnos[last]) {
      return Status::OK();
    }
    parent.SetEntry(pi, node.key(last), node.recnos[last]);
    return StoreUp(path, level - 1);
  }
}

Status Tree::FreeAll() {
  std::vector<uint32_t> level{root_};
  std::unordered_set<uint32_t> seen;
  Node node;
  while (!level.empty()) {
    std::vector<uint32_t> next;
    for (uint32_t offset : level) {
      if (!seen.insert(offset).second) return pager_->Corrupt(offset, "page reached twice");
      QV_RETURN_IF_ERROR(ReadNode(offset, &node));
      if (!node.leaf()) next.insert(next.end(), node.children.begin(), node.children.end());
    }
    if (seen.size() > pager_->end() / kPageSize) break;
    level = std::move(next);
  }
  for (uint32_t offset : seen) QV_RETURN_IF_ERROR(pager_->Free(offset));
  return Status::OK();
}

}  // namespace qv::rdd::cdx
