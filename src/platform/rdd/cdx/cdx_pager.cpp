#include "platform/rdd/cdx/cdx_pager.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/rdd/cdx/cdx_bytes.h"

namespace qv::rdd::cdx {

namespace {
constexpr size_t kCacheCapacity = 4096;  // pages (2 MB)
}

Pager::Pager(std::unique_ptr<fs::File> file, bool shared, bool read_only)
    : file_(std::move(file)), shared_(shared), read_only_(read_only), evict_at_(kCacheCapacity) {}

Status Pager::Corrupt(uint64_t offset, std::string_view what) const {
  return Status::Corruption(path(), offset, what);
}

Status Pager::Load() {
  QV_ASSIGN_OR_RETURN(file_size_, file_->Size());
  if (file_size_ < kTagHeaderSize + kPageSize) {
    return Corrupt(0, "file of " + std::to_string(file_size_) +
                          " bytes is too short for an index header and directory");
  }
  end_ = (file_size_ + kPageSize - 1) / kPageSize * kPageSize;
  uint8_t words[8];
  size_t got = 0;
  QV_RETURN_IF_ERROR(
      file_->ReadAt(kHdrFreeList, sizeof words, reinterpret_cast<char*>(words), &got));
  free_head_ = Le32(words);
  counter_ = Be32(words + 4);
  return Status::OK();
}

Result<Pager::CachedPage*> Pager::Load(uint64_t offset) {
  auto it = cache_.find(offset);
  if (it != cache_.end()) return it->second.get();
  if (cache_.size() >= evict_at_) EvictClean();
  auto page = std::make_unique<CachedPage>();
  size_t got = 0;
  if (offset < file_size_) {
    QV_RETURN_IF_ERROR(
        file_->ReadAt(offset, kPageSize, reinterpret_cast<char*>(page->bytes.data()), &got));
  }
  std::memset(page->bytes.data() + got, 0, kPageSize - got);
  CachedPage* raw = page.get();
  cache_.emplace(offset, std::move(page));
  return raw;
}

// Dirty pages stay until Flush; when they fill the cache the next scan
// waits until it has doubled, so a big update does not rescan every page.
void Pager::EvictClean() {
  for (auto it = cache_.begin(); it != cache_.end();) {
    it = it->second->dirty ? std::next(it) : cache_.erase(it);
  }
  evict_at_ = std::max(kCacheCapacity, cache_.size() * 2);
}

void Pager::DropCache() {
  cache_.clear();
  ++generation_;
}

Status Pager::Read(uint64_t offset, uint8_t* out, uint64_t min_offset) {
  if (offset % kPageSize != 0 || offset < min_offset || offset + kPageSize > end_) {
    return Corrupt(offset, "page pointer " + std::to_string(offset) +
                               " is not a page inside the file (size " + std::to_string(end_) +
                               ")");
  }
  QV_ASSIGN_OR_RETURN(CachedPage * page, Load(offset));
  std::memcpy(out, page->bytes.data(), kPageSize);
  return Status::OK();
}

Status Pager::Write(uint64_t offset, const uint8_t* page) {
  if (read_only_) return Status::InvalidArgument(path() + ": index opened read-only");
  if (offset % kPageSize != 0 || offset + kPageSize > end_) {
    return Status::InvalidArgument("page write outside the index file");
  }
  auto it = cache_.find(offset);
  if (it == cache_.end()) {
    if (cache_.size() >= evict_at_) EvictClean();
    it = cache_.emplace(offset, std::make_unique<CachedPage>()).first;
  }
  std::memcpy(it->second->bytes.data(), page, kPageSize);
  it->second->dirty = true;
  changed_ = true;
  return Status::OK();
}

Status Pager::Patch(uint64_t offset, const uint8_t* bytes, size_t n) {
  if (read_only_) return Status::InvalidArgument(path() + ": index opened read-only");
  const uint64_t base = offset / kPageSize * kPageSize;
  if (offset + n > base + kPageSize || base + kPageSize > end_) {
    return Status::InvalidArgument("patch outside one index page");
  }
  QV_ASSIGN_OR_RETURN(CachedPage * page, Load(base));
  std::memcpy(page->bytes.data() + (offset - base), bytes, n);
  page->dirty = true;
  changed_ = true;
  return Status::OK();
}

Result<uint32_t> Pager::Allocate() {
  if (free_head_ == 0 || free_head_ == kNoPage) return AllocateAtEnd(1);
  const uint32_t page = free_head_;
  uint8_t bytes[kPageSize];
  QV_RETURN_IF_ERROR(Read(page, bytes));
  const uint32_t next = Le32(bytes + kFreeNext);
  if (next != 0 && next != kNoPage && (next % kPageSize != 0 || next + kPageSize > end_)) {
    return Corrupt(page, "free page links to " + std::to_string(next) + ", not a page");
  }
  popped_.emplace_back(page, next);
  free_head_ = next;
  header_dirty_ = true;
  changed_ = true;
  return page;
}

uint32_t Pager::AllocateAtEnd(size_t n) {
  const auto first = static_cast<uint32_t>(end_);
  end_ += n * kPageSize;
  changed_ = true;
  return first;
}

Status Pager::Free(uint32_t offset) {
  uint8_t bytes[kPageSize] = {};
  PutLe32(bytes + kFreeNext, free_head_ == kNoPage ? 0 : free_head_);
  QV_RETURN_IF_ERROR(Write(offset, bytes));
  free_head_ = offset;
  header_dirty_ = true;
  return Status::OK();
}

Status Pager::WriteDirect(uint64_t offset, std::string_view data) {
  if (read_only_) return Status::InvalidArgument(path() + ": index opened read-only");
  for (uint64_t p = offset; p < offset + data.size(); p += kPageSize) cache_.erase(p);
  QV_RETURN_IF_ERROR(file_->WriteAt(offset, data));
  file_size_ = std::max<uint64_t>(file_size_, offset + data.size());
  changed_ = true;
  return Status::OK();
}

Status Pager::Flush(bool sync) {
  if (read_only_) return Status::OK();
  if (header_dirty_) {
    uint8_t words[8];
    PutLe32(words, free_head_);
    PutBe32(words + 4, counter_);
    QV_RETURN_IF_ERROR(Patch(kHdrFreeList, words, sizeof words));
    header_dirty_ = false;
  }
  std::vector<uint64_t> dirty;
  for (const auto& [offset, page] : cache_) {
    if (page->dirty) dirty.push_back(offset);
  }
  std::sort(dirty.begin(), dirty.end(), [](uint64_t a, uint64_t b) {
    const bool a_header = a < kTagHeaderSize;
    const bool b_header = b < kTagHeaderSize;
    return a_header != b_header ? b_header : a < b;
  });
  for (uint64_t offset : dirty) {
    CachedPage& page = *cache_[offset];
    QV_RETURN_IF_ERROR(file_->WriteAt(
        offset, std::string_view(reinterpret_cast<const char*>(page.bytes.data()), kPageSize)));
    page.dirty = false;
    file_size_ = std::max<uint64_t>(file_size_, offset + kPageSize);
  }
  if (file_size_ < end_) {  // pages allocated but never written stay zero
    QV_RETURN_IF_ERROR(file_->Truncate(end_));
    file_size_ = end_;
  }
  if (sync) QV_RETURN_IF_ERROR(file_->Sync());
  return Status::OK();
}

void Pager::MarkUndo() {
  undo_end_ = end_;
  undo_free_head_ = free_head_;
  popped_.clear();
}

Status Pager::Undo() {
  cache_.clear();
  ++generation_;
  end_ = undo_end_;
  free_head_ = undo_free_head_;
  header_dirty_ = true;
  std::vector<std::pair<uint32_t, uint32_t>> popped;
  popped.swap(popped_);
  for (const auto& [page, next] : popped) {
    if (page >= end_) continue;  // cannot happen: free pages lie inside the file
    uint8_t bytes[kPageSize] = {};
    PutLe32(bytes + kFreeNext, next);
    QV_RETURN_IF_ERROR(Write(page, bytes));
  }
  if (file_size_ > end_) {
    QV_RETURN_IF_ERROR(file_->Truncate(end_));
    file_size_ = end_;
  }
  return Flush(true);
}

Status Pager::Reset() {
  cache_.clear();
  ++generation_;
  end_ = 0;
  free_head_ = 0;
  header_dirty_ = false;
  popped_.clear();
  QV_RETURN_IF_ERROR(file_->Truncate(0));
  file_size_ = 0;
  return Status::OK();
}

Status Pager::RefreshHeaderWords() {
  uint8_t words[8];
  size_t got = 0;
  QV_RETURN_IF_ERROR(
      file_->ReadAt(kHdrFreeList, sizeof words, reinterpret_cast<char*>(words), &got));
  if (got != sizeof words) return Corrupt(kHdrFreeList, "index header cut short");
  const uint32_t free_head = Le32(words);
  const uint32_t counter = Be32(words + 4);
  if (free_head == free_head_ && counter == counter_) return Status::OK();
  DropCache();
  free_head_ = free_head;
  counter_ = counter;
  QV_ASSIGN_OR_RETURN(file_size_, file_->Size());
  end_ = (file_size_ + kPageSize - 1) / kPageSize * kPageSize;
  return Status::OK();
}

Status Pager::LockRead() {
  if (!shared_) return Status::OK();
  if (lock_depth_++ > 0) return Status::OK();
  Status s = file_->LockRange(kIndexLockOffset, 1, false, true);
  if (s.ok()) s = RefreshHeaderWords();
  if (!s.ok()) {
    lock_depth_ = 0;
    (void)file_->UnlockRange(kIndexLockOffset, 1);
  }
  return s;
}

Status Pager::LockWrite() {
  if (!shared_) return Status::OK();
  if (lock_depth_ > 0) {
    if (!write_locked_) return Status::InvalidArgument("index read lock cannot be upgraded");
    ++lock_depth_;
    return Status::OK();
  }
  QV_RETURN_IF_ERROR(file_->LockRange(kIndexLockOffset, 1, true, true));
  lock_depth_ = 1;
  write_locked_ = true;
  changed_ = false;
  Status s = RefreshHeaderWords();
  if (!s.ok()) (void)Unlock();
  return s;
}

Status Pager::Unlock() {
  if (!shared_ || lock_depth_ == 0) return Status::OK();
  if (--lock_depth_ > 0) return Status::OK();
  Status s;
  if (write_locked_ && changed_) {
    ++counter_;
    header_dirty_ = true;
    s = Flush(false);
  }
  write_locked_ = false;
  changed_ = false;
  Status u = file_->UnlockRange(kIndexLockOffset, 1);
  return s.ok() ? u : s;
}

}  // namespace qv::rdd::cdx
