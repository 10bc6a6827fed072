// Internal to platform/fs: the checks every Env applies to a byte-range lock
// request, and the lock table the memory Env keeps per file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fs/env.h"

namespace qv::fs::detail {

// InvalidArgument for an empty range or one that ends beyond 2^63 - 1.
Status CheckLockRange(uint64_t offset, uint64_t len, const std::string& path);

// Locks held on one file, with open-file-description semantics: each owner
// (an open File) holds ranges and a share mode; an owner never conflicts
// with itself, and a new range of an owner replaces what it held there.
// Not thread-safe; the memory Env guards it with its mutex.
class LockTable {
 public:
  // Whether owner may take [begin, end) now.
  bool RangeFree(const void* owner, uint64_t begin, uint64_t end, bool exclusive) const;
  // REQUIRES: RangeFree(owner, begin, end, exclusive).
  void AddRange(const void* owner, uint64_t begin, uint64_t end, bool exclusive);
  // Drops owner's hold on [begin, end), splitting ranges that reach outside.
  void RemoveRange(const void* owner, uint64_t begin, uint64_t end);

  // LockBusy semantics of flock: false when another owner's mode conflicts.
  bool ShareFree(const void* owner, ShareMode mode) const;
  void SetShare(const void* owner, ShareMode mode);

  // Everything the owner holds goes (the file was closed).
  void Release(const void* owner);

 private:
  struct Range {
    const void* owner;
    uint64_t begin;
    uint64_t end;
    bool exclusive;
  };
  struct Share {
    const void* owner;
    ShareMode mode;
  };
  std::vector<Range> ranges_;
  std::vector<Share> shares_;
};

}  // namespace qv::fs::detail
