// One open DBF table with its memo file and index bags: header, records,
// memo texts, locks and commit. Work areas (work_area.h) navigate over a
// Table; bulk operations (bulk.h, pack.h) read and write through it.
// Files are reached only through the fs::Env, by host path.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/env.h"
#include "platform/rdd/dbf_format.h"
#include "platform/rdd/locks.h"
#include "platform/rdd/memo_file.h"
#include "platform/rdd/order.h"

namespace qv::rdd {

struct TableOpenOptions {
  bool exclusive = false;
  bool read_only = false;
  // Stamped into the header's last-update bytes; empty: the host's date.
  rt::Date today;
  // Opens the structural bag; null leaves it closed.
  const BagOpener* bag_opener = nullptr;
};

class Table {
 public:
  // Opens the table at host path (finishing or rolling back a pack swap a
  // crash cut off), its memo file and, with an opener, its structural bag.
  // LockBusy: another opener holds a conflicting share lock (lock rule 1).
  // NotFound: the table or its memo file is missing. Corruption: a damaged
  // header. A header record count that disagrees with the file size is
  // rewritten on an exclusive read-write open.
  static Result<std::unique_ptr<Table>> Open(fs::Env& env, const std::string& path,
                                             const TableOpenOptions& options);

  // Creates (or replaces) the table at path with fields, empty, and its memo
  // file when a field is M. LockBusy when another opener has the file;
  // InvalidArgument for a bad field list. The table is left closed.
  static Status Create(fs::Env& env, const std::string& path, const std::vector<FieldSpec>& fields,
                       bool structural_bag = false, rt::Date today = rt::Date());

  ~Table();  // Close(), ignoring its status
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Writes what is buffered, releases every lock, closes the files.
  Status Close();

  const DbfHeader& header() const { return header_; }
  const std::vector<FieldInfo>& fields() const { return header_.fields; }
  // 0-based index of the field named name (any case); -1 when none.
  int FieldIndex(std::string_view name) const;
  const std::string& path() const { return path_; }
  fs::Env& env() const { return *env_; }
  bool exclusive() const { return options_.exclusive; }
  bool read_only() const { return options_.read_only; }
  rt::Date today() const { return today_; }
  LockLayout lock_layout() const { return LockLayout::For(header_); }

  // Records in the table, deleted ones included. In shared use it is
  // recounted from the file size, so appends of other openers show.
  Result<uint32_t> RecordCount();
  // The count as last known, without touching the file.
  uint32_t known_count() const { return count_; }

  // The bytes of record recno (deletion flag first), valid until the next
  // call on this table. REQUIRES: 1 <= recno <= a known record count.
  Result<std::string_view> ReadRecord(uint32_t recno);
  // Replaces record recno and tells the bags. LockBusy in shared use
  // without the record or file lock (lock rule 7).
  Status WriteRecord(uint32_t recno, std::string_view image);
  // Appends a blank record and returns its number; in shared use by lock
  // rule (5), so LockBusy means nothing was added.
  Result<uint32_t> AppendBlank();
  // Appends a whole record (bulk loads). REQUIRES: exclusive use or the
  // file lock.
  Result<uint32_t> AppendRecord(std::string_view image);

  // Memo text of memo field f in record (as ReadRecord gave it).
  Result<std::string> ReadMemo(const FieldInfo& f, std::string_view record);
  // Stores text as a new memo; returns its block (0 for "").
  Result<uint32_t> WriteMemo(std::string_view text);
  MemoFile* memo() { return memo_.get(); }

  // Lock rules (3), (4), (6). false when another opener holds a conflict.
  Result<bool> LockRecord(uint32_t recno, bool release_others);
  Result<bool> LockFile();
  Status UnlockRecord(uint32_t recno);
  Status Unlock();
  bool RecordLocked(uint32_t recno) const;
  bool file_locked() const { return file_locked_; }
  const std::set<uint32_t>& locked_records() const { return locked_; }

  // Hands buffered records and the header to the operating system.
  Status Flush();
  // Flush, then make the table's files durable.
  Status Commit();
  // Removes every record and memo and empties the bags. REQUIRES: exclusive.
  Status Zap();
  // Forgets cached records (another opener may have written them).
  void DropCache();

  // Open index bags; the structural one (if open) first.
  const std::vector<std::unique_ptr<OrderBag>>& bags() const { return bags_; }
  void AddBag(std::unique_ptr<OrderBag> bag) { bags_.push_back(std::move(bag)); }
  // Takes bag, the bag with the table's base name, as the structural bag and
  // marks the header (byte 28) so that every later open finds it. The mark
  // moves the lock layout, so it needs exclusive use.
  Status AddStructuralBag(std::unique_ptr<OrderBag> bag);
  Status CloseBags();
  // Closes every bag but the structural one.
  Status CloseOtherBags();
  // The structural bag, opened with the table; null when closed or absent.
  OrderBag* structural_bag() const { return structural_ ? bags_.front().get() : nullptr; }

  // The DBF, memo and structural-bag files as the open found them (for the
  // pack swap, which replaces them together).
  fs::File& dbf_file() { return *dbf_; }
  std::string memo_path() const { return memo_ ? memo_->path() : std::string(); }
  std::string bag_path() const;
  // A table over files already open and share-locked by the caller (pack
  // builds its new table this way). Parses the header; repairs nothing.
  static Result<std::unique_ptr<Table>> OnOpenFiles(fs::Env& env, const std::string& path,
                                                    std::unique_ptr<fs::File> dbf,
                                                    std::unique_ptr<MemoFile> memo,
                                                    const TableOpenOptions& options);
  // After a pack swap: takes over other's files, header and count (other is
  // left closed). Bags stay; the caller moves them to their new files.
  Status AdoptFiles(Table& other);

 private:
  Table(fs::Env& env, std::string path, const TableOpenOptions& options);
  Status OpenFiles();
  Status ReadHeader();
  Status RepairCount(uint64_t file_size);
  Status LoadWindow(uint32_t recno);
  Status FlushWindow();
  Status FlushAppends();
  Status WriteHeader(uint32_t count);
  Status RequireWritable(uint32_t recno) const;
  Status NotifyBags(uint32_t recno, std::string_view old_image, std::string_view new_image);
  uint64_t RecordOffset(uint32_t recno) const {
    return header_.header_length + (static_cast<uint64_t>(recno) - 1) * header_.record_length;
  }

  fs::Env* env_;
  std::string path_;
  TableOpenOptions options_;
  rt::Date today_;
  DbfHeader header_;
  std::unique_ptr<fs::File> dbf_;
  std::unique_ptr<MemoFile> memo_;
  std::vector<std::unique_ptr<OrderBag>> bags_;
  bool structural_ = false;  // bags_.front() is the structural bag

  uint32_t count_ = 0;       // records, those still in append_buf_ included
  uint32_t file_count_ = 0;  // records written to the file
  bool header_dirty_ = false;
  std::string append_buf_;  // records file_count_ + 1 .. count_ (exclusive use)

  // Read window: records [window_first_, window_first_ + window_n_).
  std::string window_;
  uint32_t window_first_ = 0;
  uint32_t window_n_ = 0;
  uint32_t dirty_lo_ = 0;  // dirty records in the window (exclusive use)
  uint32_t dirty_hi_ = 0;  // 0 when none

  std::set<uint32_t> locked_;
  bool file_locked_ = false;
  bool closed_ = false;
};

// Opens path empty for writing, creating it when missing, holding the
// exclusive share lock (taken before anything is truncated). LockBusy when
// another opener has the file.
Result<std::unique_ptr<fs::File>> CreateExclusive(fs::Env& env, const std::string& path);

// The side file of a table with extension ext (".dbt", ".cdx"): the same
// base name, the extension in the case of the table's own extension, or an
// existing file that differs only in case.
std::string SiblingPath(fs::Env& env, const std::string& table_path, std::string_view ext);

}  // namespace qv::rdd
