#include "platform/rdd/cdx/cdx_cursor.h"

#include <cstring>

#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {

Status Cursor::Enter(IndexLock& lock) {
  QV_RETURN_IF_ERROR(lock.status());
  QV_RETURN_IF_ERROR(tag_.Refresh());
  if (tag_.pager().generation() == generation_ || state_ != State::kOn) return Status::OK();
  const std::string key(this->key());
  return Descend(SeekTarget{key, recno(), false});
}

Status Cursor::LoadLeaf(uint32_t offset, bool rightwards) {
  if (rightwards != rightwards_) hops_ = 0;  // a cycle shows as endless travel one way
  rightwards_ = rightwards;
  if (++hops_ > tag_.pager().end() / kPageSize) {
    return tag_.pager().Corrupt(offset, "cycle of sibling links between leaf pages");
  }
  decoded_ = true;  // leaf_ is about to be overwritten either way
  QV_RETURN_IF_ERROR(tag_.tree().ReadNode(offset, &leaf_));
  if (!leaf_.leaf()) return tag_.pager().Corrupt(offset, "sibling of a leaf page is not a leaf");
  leaf_offset_ = offset;
  return Status::OK();
}

Status Cursor::Decode() {
  if (decoded_) return Status::OK();
  const Tree& tree = tag_.tree();
  QV_RETURN_IF_ERROR(DecodePage(page_.data(), tree.key_len(), tree.fill(),
                                PageRef{tag_.pager().path(), leaf_offset_}, &leaf_));
  decoded_ = true;
  return Status::OK();
}

Status Cursor::Descend(const SeekTarget& target) {
  const Tree& tree = tag_.tree();
  QV_RETURN_IF_ERROR(tree.DescendToLeafPage(target, page_.data(), &leaf_offset_));
  QV_RETURN_IF_ERROR(tree.FindInLeaf(page_.data(), leaf_offset_, target, &hit_));
  decoded_ = false;
  index_ = hit_.index;
  generation_ = tag_.pager().generation();
  hops_ = 0;
  state_ = State::kOn;
  return SettleForward();
}

Status Cursor::SettleForward() {
  if (!decoded_ && index_ < hit_.count) return Status::OK();  // on the descent's entry
  QV_RETURN_IF_ERROR(Decode());
  while (index_ >= leaf_.size()) {
    if (leaf_.right == kNoPage) {
      index_ = leaf_.size();
      state_ = State::kAfter;
      return Status::OK();
    }
    QV_RETURN_IF_ERROR(LoadLeaf(leaf_.right, true));
    index_ = 0;
  }
  state_ = State::kOn;
  return Status::OK();
}

Status Cursor::StoredNext() {
  if (state_ == State::kAfter) return Status::OK();
  QV_RETURN_IF_ERROR(Decode());
  index_ = state_ == State::kBefore ? 0 : index_ + 1;
  return SettleForward();
}

Status Cursor::StoredPrev() {
  if (state_ == State::kBefore) return Status::OK();
  QV_RETURN_IF_ERROR(Decode());
  if (state_ == State::kAfter) index_ = leaf_.size();
  while (index_ == 0) {
    if (leaf_.left == kNoPage) {
      state_ = State::kBefore;
      return Status::OK();
    }
    QV_RETURN_IF_ERROR(LoadLeaf(leaf_.left, false));
    index_ = leaf_.size();
  }
  --index_;
  state_ = State::kOn;
  return Status::OK();
}

Status Cursor::First() {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  QV_RETURN_IF_ERROR(Descend(SeekTarget{std::string_view(), 0, descending()}));
  if (descending()) return StoredPrev();
  return Status::OK();
}

Status Cursor::Last() {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  QV_RETURN_IF_ERROR(Descend(SeekTarget{std::string_view(), 0, !descending()}));
  if (!descending()) return StoredPrev();
  return Status::OK();
}

Status Cursor::Next() {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  return descending() ? StoredPrev() : StoredNext();
}

Status Cursor::Prev() {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  return descending() ? StoredNext() : StoredPrev();
}

bool Cursor::Matches(std::string_view key) const {
  if (state_ != State::kOn) return false;
  const std::string_view here = this->key();
  const size_t n = std::min(key.size(), here.size());
  return n == 0 || std::memcmp(here.data(), key.data(), n) == 0;
}

// Ascending, first match: the lower bound. The last match in stored order
// (ascending with last, or descending without) is the entry before the
// upper bound. A miss leaves the cursor on the next entry in the tag's order.
Result<bool> Cursor::Seek(std::string_view key, bool last) {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  const bool upper = descending() != last;
  QV_RETURN_IF_ERROR(Descend(SeekTarget{key, 0, upper}));
  if (upper) QV_RETURN_IF_ERROR(StoredPrev());
  if (Matches(key)) return true;
  if (upper && !descending()) QV_RETURN_IF_ERROR(StoredNext());
  if (!upper && descending()) QV_RETURN_IF_ERROR(StoredPrev());
  return false;
}

Result<bool> Cursor::Find(std::string_view key, uint32_t recno) {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  QV_RETURN_IF_ERROR(Descend(SeekTarget{key, recno, false}));
  if (state_ == State::kOn && this->key() == key && this->recno() == recno) return true;
  state_ = State::kAfter;
  return false;
}

Result<uint64_t> Cursor::SumSiblings(uint32_t start, size_t link) {
  Pager& pager = tag_.pager();
  uint64_t sum = 0;
  uint64_t steps = 0;
  uint8_t page[kPageSize];
  for (uint32_t offset = start; offset != kNoPage; offset = Le32(page + link)) {
    if (++steps > pager.end() / kPageSize) {
      return pager.Corrupt(offset, "cycle of sibling links between leaf pages");
    }
    QV_RETURN_IF_ERROR(pager.Read(offset, page));
    if ((Le16(page + kPageAttr) & kAttrLeaf) == 0) {
      return pager.Corrupt(offset, "sibling of a leaf page is not a leaf");
    }
    sum += Le16(page + kPageCount);
  }
  return sum;
}

Result<uint64_t> Cursor::Position() {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  if (state_ != State::kOn) return Status::InvalidArgument("cursor is off the tag");
  QV_RETURN_IF_ERROR(Decode());
  if (descending()) {
    QV_ASSIGN_OR_RETURN(uint64_t after, SumSiblings(leaf_.right, kPageRight));
    return after + (leaf_.size() - index_);
  }
  QV_ASSIGN_OR_RETURN(uint64_t before, SumSiblings(leaf_.left, kPageLeft));
  return before + index_ + 1;
}

Result<uint64_t> Cursor::Count() {
  IndexLock lock(tag_.pager(), false);
  QV_RETURN_IF_ERROR(Enter(lock));
  Path path;
  QV_RETURN_IF_ERROR(tag_.tree().DescendEdge(false, &path));
  return SumSiblings(path.back().offset, kPageRight);
}

}  // namespace qv::rdd::cdx
