#include "platform/rdd/cdx/cdx_tag.h"

#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {

Status Tag::Refresh() {
  Pager& pager = tree_.pager();
  if (pager.generation() == seen_generation_) return Status::OK();
  uint8_t page[kPageSize];
  QV_RETURN_IF_ERROR(pager.Read(info_.header_offset, page, 0));
  const uint32_t root = Le32(page + kHdrRoot);
  tree_ = Tree(pager, root, info_.header_offset + kHdrRoot, info_.key_len, FillByte(type_));
  seen_generation_ = pager.generation();
  return Status::OK();
}

Status Tag::EnterWrite(std::string_view key, const IndexLock& lock) {
  if (key.size() != info_.key_len) {
    return Status::InvalidArgument("key length differs from the tag's");
  }
  QV_RETURN_IF_ERROR(lock.status());
  return Refresh();
}

Status Tag::Insert(std::string_view key, uint32_t recno) {
  IndexLock lock(pager(), true);
  QV_RETURN_IF_ERROR(EnterWrite(key, lock));
  if (info_.unique) {
    QV_ASSIGN_OR_RETURN(uint32_t holder, FirstWith(key));
    if (holder != 0) return lock.Release();
  }
  QV_RETURN_IF_ERROR(tree_.Insert(key, recno));
  return lock.Release();
}

Result<uint32_t> Tag::FirstWith(std::string_view key) {
  Path path;
  QV_RETURN_IF_ERROR(tree_.Descend(SeekTarget{key, 0, false}, &path));
  const PathStep& leaf = path.back();
  const size_t i = leaf.index;
  if (i < leaf.node.size()) return leaf.node.key(i) == key ? leaf.node.recnos[i] : 0u;
  if (leaf.node.right == kNoPage) return 0u;
  Node next;
  QV_RETURN_IF_ERROR(tree_.ReadNode(leaf.node.right, &next));
  return next.size() > 0 && next.key(0) == key ? next.recnos[0] : 0u;
}

Result<uint32_t> Tag::Holder(std::string_view key) {
  IndexLock lock(pager(), false);
  QV_RETURN_IF_ERROR(lock.status());
  QV_RETURN_IF_ERROR(Refresh());
  QV_ASSIGN_OR_RETURN(uint32_t holder, FirstWith(key));
  QV_RETURN_IF_ERROR(lock.Release());
  return holder;
}

Status Tag::Remove(std::string_view key, uint32_t recno) {
  IndexLock lock(pager(), true);
  QV_RETURN_IF_ERROR(EnterWrite(key, lock));
  QV_RETURN_IF_ERROR(tree_.Remove(key, recno));
  return lock.Release();
}

Status Tag::Update(std::string_view old_key, std::string_view new_key, uint32_t recno) {
  if (old_key == new_key) return Status::OK();
  IndexLock lock(pager(), true);
  QV_RETURN_IF_ERROR(lock.status());
  Status s = Remove(old_key, recno);
  if (!s.ok() && !s.IsNotFound()) return s;
  QV_RETURN_IF_ERROR(Insert(new_key, recno));
  return lock.Release();
}

}  // namespace qv::rdd::cdx
