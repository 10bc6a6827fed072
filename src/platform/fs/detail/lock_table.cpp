#include "platform/fs/detail/lock_table.h"

#include <limits>

namespace qv::fs::detail {

Status CheckLockRange(uint64_t offset, uint64_t len, const std::string& path) {
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (len == 0 || offset > kMax || len > kMax - offset) {
    return Status::InvalidArgument("lock range out of bounds: " + path + " at " +
                                   std::to_string(offset) + ", " + std::to_string(len));
  }
  return Status::OK();
}

bool LockTable::RangeFree(const void* owner, uint64_t begin, uint64_t end, bool exclusive) const {
  for (const Range& r : ranges_) {
    if (r.owner == owner || r.end <= begin || end <= r.begin) continue;
    if (exclusive || r.exclusive) return false;
  }
  return true;
}

void LockTable::AddRange(const void* owner, uint64_t begin, uint64_t end, bool exclusive) {
  RemoveRange(owner, begin, end);
  ranges_.push_back(Range{owner, begin, end, exclusive});
}

void LockTable::RemoveRange(const void* owner, uint64_t begin, uint64_t end) {
  std::vector<Range> kept;
  for (const Range& r : ranges_) {
    if (r.owner != owner || r.end <= begin || end <= r.begin) {
      kept.push_back(r);
      continue;
    }
    if (r.begin < begin) kept.push_back(Range{owner, r.begin, begin, r.exclusive});
    if (end < r.end) kept.push_back(Range{owner, end, r.end, r.exclusive});
  }
  ranges_ = std::move(kept);
}

bool LockTable::ShareFree(const void* owner, ShareMode mode) const {
  if (mode == ShareMode::kNone) return true;
  for (const Share& s : shares_) {
    if (s.owner == owner) continue;
    if (mode == ShareMode::kExclusive || s.mode == ShareMode::kExclusive) return false;
  }
  return true;
}

void LockTable::SetShare(const void* owner, ShareMode mode) {
  std::erase_if(shares_, [owner](const Share& s) { return s.owner == owner; });
  if (mode != ShareMode::kNone) shares_.push_back(Share{owner, mode});
}

void LockTable::Release(const void* owner) {
  std::erase_if(ranges_, [owner](const Range& r) { return r.owner == owner; });
  SetShare(owner, ShareMode::kNone);
}

}  // namespace qv::fs::detail
