// Page access to one bag file: bounds-checked page reads through a bounded
// cache, staged page writes that reach the file at Flush, page allocation
// from the free list or the file end, and the shared-use protocol (index
// lock byte, change counter) that tells a process when its cache is stale.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/cdx/cdx_format.h"

namespace qv::rdd::cdx {

class Pager {
 public:
  // shared: other processes may use the file, so every step takes the index
  // lock and rereads the header words.
  Pager(std::unique_ptr<fs::File> file, bool shared, bool read_only);
  Pager(const Pager&) = delete;
  Pager& operator=(const Pager&) = delete;

  // Reads the file size and the header words; call once after construction.
  Status Load();

  const std::string& path() const { return file_->path(); }
  bool read_only() const { return read_only_; }
  // One past the last page in use (file size plus pages allocated since).
  uint64_t end() const { return end_; }
  uint32_t free_head() const { return free_head_; }
  uint32_t counter() const { return counter_; }
  // Changes whenever cached pages were dropped because another process
  // changed the file; cursors re-seek when it moved.
  uint64_t generation() const { return generation_; }

  // Corruption report for this file.
  Status Corrupt(uint64_t offset, std::string_view what) const;

  // Copies the page at offset into out (kPageSize bytes). Corruption when
  // offset is not a page of the file (below min_offset, unaligned, past end).
  Status Read(uint64_t offset, uint8_t* out, uint64_t min_offset = kTagHeaderSize);
  // Stages a whole page; REQUIRES: !read_only().
  Status Write(uint64_t offset, const uint8_t* page);
  // Stages bytes inside one page (header words, sibling links).
  Status Patch(uint64_t offset, const uint8_t* bytes, size_t n);

  // A page for new content: the free-list head, else a page at the end.
  Result<uint32_t> Allocate();
  // n contiguous pages at the file end; returns the first.
  uint32_t AllocateAtEnd(size_t n);
  // Puts a page on the free list (zeroed, linked to the old head).
  Status Free(uint32_t offset);
  // Writes bytes straight to the file, bypassing the cache; for pages that
  // the bulk builder fills at the end of the file.
  Status WriteDirect(uint64_t offset, std::string_view data);

  // Writes staged pages and changed header words, the file header last so
  // that it never points at pages not yet written; sync makes them durable.
  Status Flush(bool sync);
  // Remembers the file end and free list, to go back to them with Undo.
  void MarkUndo();
  // After a failed update: forgets staged pages, puts the free pages taken
  // since MarkUndo back on the list as they were, cuts the file back to the
  // remembered end and makes that durable.
  Status Undo();
  // Forgets everything and empties the file (a bag rewritten from scratch).
  Status Reset();

  // Shared-use protocol (no-ops on an exclusive open): take the lock byte,
  // reread the header words and drop the cache when they changed. Unlock
  // after a write bumps the change counter and flushes. Calls nest.
  Status LockRead();
  Status LockWrite();
  Status Unlock();

 private:
  struct CachedPage {
    std::array<uint8_t, kPageSize> bytes;
    bool dirty = false;
  };
  Result<CachedPage*> Load(uint64_t offset);
  Status RefreshHeaderWords();
  void DropCache();
  void EvictClean();

  std::unique_ptr<fs::File> file_;
  bool shared_;
  bool read_only_;
  uint64_t end_ = 0;
  uint64_t file_size_ = 0;
  uint32_t free_head_ = 0;
  uint32_t counter_ = 0;
  bool header_dirty_ = false;
  uint64_t generation_ = 0;
  int lock_depth_ = 0;
  bool write_locked_ = false;
  bool changed_ = false;
  std::unordered_map<uint64_t, std::unique_ptr<CachedPage>> cache_;
  size_t evict_at_;  // cache size that triggers the next EvictClean
  uint64_t undo_end_ = 0;
  uint32_t undo_free_head_ = 0;
  std::vector<std::pair<uint32_t, uint32_t>> popped_;  // (free page, its next) since MarkUndo
};

}  // namespace qv::rdd::cdx
