// One tag of a bag: its description from the tag header, its key type (known
// to the caller, who evaluates the key expression), and single-key
// maintenance. Cursors (cdx_cursor.h) walk it in the tag's order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rdd/cdx/cdx_key.h"
#include "platform/rdd/cdx/cdx_tree.h"

namespace qv::rdd::cdx {

// Takes the bag's index lock for one step and releases it on scope exit.
class IndexLock {
 public:
  IndexLock(Pager& pager, bool write) : pager_(pager) {
    status_ = write ? pager.LockWrite() : pager.LockRead();
  }
  ~IndexLock() {
    if (status_.ok()) (void)pager_.Unlock();
  }
  IndexLock(const IndexLock&) = delete;
  IndexLock& operator=(const IndexLock&) = delete;
  const Status& status() const { return status_; }
  // Releases now, reporting the flush a writer's release does.
  Status Release() {
    if (!status_.ok()) return status_;
    status_ = Status::Cancelled("released");
    return pager_.Unlock();
  }

 private:
  Pager& pager_;
  Status status_;
};

struct TagInfo {
  std::string name;  // upper case, at most kMaxTagName bytes
  std::string key_expr;
  std::string for_expr;  // "" when none
  bool unique = false;
  bool descending = false;
  uint16_t key_len = 0;
  uint32_t header_offset = 0;  // also the tag's place in the bag's order
};

class Tag {
 public:
  Tag(Pager& pager, TagInfo info, uint32_t root, KeyType type)
      : info_(std::move(info)),
        type_(type),
        tree_(pager, root, info_.header_offset + kHdrRoot, info_.key_len, FillByte(type)) {}

  const TagInfo& info() const { return info_; }
  KeyType type() const { return type_; }
  Tree& tree() { return tree_; }
  Pager& pager() const { return tree_.pager(); }

  // Adds the key of a record. A unique tag keeps only the first record of a
  // key: adding a key it already holds changes nothing.
  // REQUIRES: key.size() == info().key_len.
  Status Insert(std::string_view key, uint32_t recno);
  // Removes the key of a record; NotFound when the tag does not hold it
  // (in a unique tag, also when another record holds the key).
  Status Remove(std::string_view key, uint32_t recno);
  // The record of the first entry whose key is exactly key; 0 when none (in
  // a unique tag, the one record the tag holds for the key).
  Result<uint32_t> Holder(std::string_view key);
  // Moves a record's key (a replace that changed the key).
  Status Update(std::string_view old_key, std::string_view new_key, uint32_t recno);

  // Rereads the root pointer when another process changed the file; every
  // operation calls it after taking the index lock.
  Status Refresh();

 private:
  // Checks the key's length and the write lock, and refreshes the root.
  Status EnterWrite(std::string_view key, const IndexLock& lock);
  // Holder without the lock and refresh (the caller holds them).
  Result<uint32_t> FirstWith(std::string_view key);

  TagInfo info_;
  KeyType type_;
  Tree tree_;
  uint64_t seen_generation_ = 0;
};

}  // namespace qv::rdd::cdx
