// The seam between the table engine and index bags. A work area navigates
// through its controlling Order when one is set, else in record order; a
// table tells each open OrderBag about every record it writes so the bag
// keeps its tags current. The CDX code implements both interfaces.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/env.h"
#include "platform/runtime/value.h"

namespace qv::rdd {

class Table;

// One tag: an ordering of the table's records by a key expression. Record
// numbers are 1-based; 0 means "none" (past either end). Navigation sees all
// keys; the work area skips deleted and filtered records itself.
class Order {
 public:
  virtual ~Order() = default;

  virtual const std::string& Name() const = 0;     // tag name, upper case
  virtual const std::string& KeyText() const = 0;  // key expression text
  virtual const std::string& ForText() const = 0;  // "" when none
  virtual bool Descending() const = 0;
  // 'C', 'N', 'D' or 'L': the type of the key expression's value.
  virtual char KeyType() const = 0;

  virtual Result<uint32_t> First() = 0;
  virtual Result<uint32_t> Last() = 0;
  // The record after / before recno in key order. REQUIRES: recno has a key
  // in this order (it was reached through it or positioned by GoTo).
  virtual Result<uint32_t> Next(uint32_t recno) = 0;
  virtual Result<uint32_t> Prev(uint32_t recno) = 0;

  struct SeekResult {
    uint32_t recno = 0;  // 0: no key at or after the sought one
    bool found = false;  // an exact (prefix) match
  };
  // The first record whose key starts with key; with soft false, recno is
  // 0 unless found; with last true, the last such record.
  virtual Result<SeekResult> Seek(const rt::Value& key, bool soft, bool last) = 0;

  // Whether recno's key starts with key (a seek that lands on a hidden
  // record walks on and asks this of the next visible one).
  virtual Result<bool> KeyMatches(uint32_t recno, const rt::Value& key) = 0;

  // 1-based position of recno in key order and the number of keys.
  virtual Result<uint32_t> KeyNo(uint32_t recno) = 0;
  virtual Result<uint32_t> KeyCount() = 0;
  // recno's key as the tools print it: C as its bytes, N as a number, D as
  // YYYYMMDD or "", L as T/F ("" when the record has no key here).
  virtual Result<std::string> ShowKey(uint32_t recno) = 0;
};

// What a new tag is made of. An empty name means the bag's base name.
struct OrderSpec {
  std::string name;
  std::string key_text;
  std::string for_text;  // "" for none
  bool unique = false;
  bool descending = false;
};

// Called every 10 records while a tag is built with the records read so far
// and the total; returning false stops the build.
using BuildProgress = std::function<bool(uint32_t done, uint32_t total)>;

// An index file holding tags. Opened with the table (the structural bag) or
// later by name. The table calls RecordWritten for every record write,
// inside the same locks, so the tags never fall behind the data.
class OrderBag {
 public:
  virtual ~OrderBag() = default;

  virtual const std::string& Path() const = 0;
  virtual size_t OrderCount() const = 0;
  // REQUIRES: index < OrderCount(). Tags in creation order.
  virtual Order* OrderAt(size_t index) = 0;

  // A record was written: old_image is empty for an appended record; both
  // images are whole records (deletion flag first).
  virtual Status RecordWritten(uint32_t recno, std::string_view old_image,
                               std::string_view new_image) = 0;
  // Every record is gone (zap): empty every tag (a rebuild of no records).
  virtual Status Zap() = 0;
  // Writes a new bag with the same tags, built from table's records, at
  // new_path (pack writes it beside the old bag before the swap). The
  // returned file is the new bag, synced, share-locked exclusively.
  virtual Result<std::unique_ptr<fs::File>> BuildBeside(Table& table,
                                                        const std::string& new_path) = 0;
  // Adopts the file of a new bag after a swap (the same inode BuildBeside
  // returned, now under the bag's own name; Path() must stay that name).
  virtual Status Adopt(std::unique_ptr<fs::File> file) = 0;
  // Faults of the bag's tags against table's records, one line each.
  virtual Status Check(Table& table, std::vector<std::string>* faults) = 0;
  // Hands staged pages to the operating system; Sync also makes them durable.
  virtual Status Flush() = 0;
  virtual Status Sync() = 0;

  // Builds a tag of spec from table's records (sorted, then bulk loaded),
  // replacing a tag of the same name. Cancelled when progress stopped it;
  // any failure leaves the bag as it was, without a partial tag.
  virtual Status CreateOrder(Table& table, const OrderSpec& spec,
                             const BuildProgress& progress) = 0;
  // Rebuilds every tag from table's records into a new bag written beside
  // and renamed over this one (a damaged bag is never patched in place).
  // InvalidArgument unless the bag is open exclusively and writable.
  virtual Status Rebuild(Table& table) = 0;
};

// Opens the bag at path for table with the table's share mode. The
// workspace holds one; without it structural bags are left closed.
using BagOpener = std::function<Result<std::unique_ptr<OrderBag>>(
    fs::Env& env, const std::string& path, Table& table, fs::ShareMode share, bool read_only)>;

}  // namespace qv::rdd
