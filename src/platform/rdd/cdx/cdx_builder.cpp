#include "platform/rdd/cdx/cdx_builder.h"

#include <algorithm>
#include <cstring>

namespace qv::rdd::cdx {

namespace {
constexpr size_t kBufferLimit = 1 << 20;  // bytes of pages written at once
}

void KeepFirstOfEachKey(KeyList* list) {
  size_t out = 0;
  for (size_t i = 0; i < list->size(); ++i) {
    if (out > 0 && list->key(out - 1) == list->key(i)) continue;
    if (out != i) {
      std::memmove(list->keys.data() + out * list->key_len, list->keys.data() + i * list->key_len,
                   list->key_len);
      list->recnos[out] = list->recnos[i];
    }
    ++out;
  }
  list->keys.resize(out * list->key_len);
  list->recnos.resize(out);
}

TreeBuilder::TreeBuilder(Pager& pager, size_t key_len, uint8_t fill)
    : pager_(pager),
      key_len_(key_len),
      fill_(fill),
      sizer_(key_len, fill),
      fresh_start_(pager.end()) {}

Status TreeBuilder::Add(std::string_view key, uint32_t recno) { return Push(0, key, recno, 0); }

// Appends an entry to the open page of a level. A full page first gets its
// right sibling allocated, is written, and hands its last key to the level
// above; then the sibling becomes the open page.
Status TreeBuilder::Push(size_t level, std::string_view key, uint32_t recno, uint32_t child) {
  if (level == levels_.size()) {
    Level fresh;
    fresh.node.attr = level == 0 ? kAttrLeaf : 0;
    fresh.node.key_len = key_len_;
    QV_ASSIGN_OR_RETURN(fresh.offset, pager_.Allocate());
    levels_.push_back(std::move(fresh));
  }
  Node* node = &levels_[level].node;
  const bool leaf = level == 0;
  const std::string_view prev = node->size() > 0 ? node->key(node->size() - 1) : std::string_view();
  const bool fits =
      leaf ? sizer_.Fits(prev, key, recno) : node->size() < InteriorCapacity(key_len_);
  if (!fits) {
    const uint32_t full = levels_[level].offset;
    QV_ASSIGN_OR_RETURN(const uint32_t sibling, pager_.Allocate());
    node->right = sibling;
    QV_RETURN_IF_ERROR(WritePage(full, *node));
    const size_t last = node->size() - 1;
    std::string up_key(node->key(last));
    QV_RETURN_IF_ERROR(Push(level + 1, up_key, node->recnos[last], full));
    node = &levels_[level].node;  // Push may have grown levels_
    node->ClearEntries();
    node->left = full;
    node->right = kNoPage;
    levels_[level].offset = sibling;
    if (leaf) sizer_.Reset();
  }
  if (leaf) {
    sizer_.Add(node->size() > 0 ? node->key(node->size() - 1) : std::string_view(), key, recno);
  }
  node->InsertEntry(node->size(), key, recno, child);
  return Status::OK();
}

Result<uint32_t> TreeBuilder::Finish() {
  if (levels_.empty()) {
    Level empty;
    empty.node.attr = kAttrLeaf;
    empty.node.key_len = key_len_;
    QV_ASSIGN_OR_RETURN(empty.offset, pager_.Allocate());
    levels_.push_back(std::move(empty));
  }
  uint32_t root = 0;
  for (size_t level = 0; level < levels_.size(); ++level) {
    Node& node = levels_[level].node;
    const uint32_t offset = levels_[level].offset;
    if (level + 1 == levels_.size() && node.left == kNoPage) {
      node.attr |= kAttrRoot;
      QV_RETURN_IF_ERROR(WritePage(offset, node));
      root = offset;
      break;
    }
    QV_RETURN_IF_ERROR(WritePage(offset, node));
    const size_t last = node.size() - 1;
    std::string up_key(node.key(last));
    const uint32_t up_recno = node.recnos[last];
    QV_RETURN_IF_ERROR(Push(level + 1, up_key, up_recno, offset));
  }
  QV_RETURN_IF_ERROR(FlushBuffer());
  return root;
}

// Pages taken from the file end come in file order, so their writes are
// gathered into runs; reused free pages and pages below the current run (an
// interior page completed late) go out one by one. A run may only span pages
// the builder allocated, since its gaps are written as zeros first.
Status TreeBuilder::WritePage(uint32_t offset, const Node& node) {
  uint8_t page[kPageSize];
  if (!EncodeNode(node, fill_, page)) {
    return Status::InvalidArgument("bulk-built index page does not fit");
  }
  const std::string_view bytes(reinterpret_cast<const char*>(page), kPageSize);
  if (buffer_.empty()) {
    if (offset < std::max(written_end_, fresh_start_)) return pager_.WriteDirect(offset, bytes);
    buffer_start_ = offset;
  }
  if (offset < buffer_start_) return pager_.WriteDirect(offset, bytes);
  const uint64_t at = offset - buffer_start_;
  if (at > kBufferLimit) {
    QV_RETURN_IF_ERROR(FlushBuffer());
    buffer_start_ = offset;
    buffer_.assign(bytes);
    return Status::OK();
  }
  if (buffer_.size() < at + kPageSize) buffer_.resize(at + kPageSize, '\0');
  buffer_.replace(at, kPageSize, bytes);
  if (buffer_.size() >= kBufferLimit) return FlushBuffer();
  return Status::OK();
}

Status TreeBuilder::FlushBuffer() {
  if (buffer_.empty()) return Status::OK();
  QV_RETURN_IF_ERROR(pager_.WriteDirect(buffer_start_, buffer_));
  written_end_ = buffer_start_ + buffer_.size();
  buffer_.clear();
  return Status::OK();
}

}  // namespace qv::rdd::cdx
