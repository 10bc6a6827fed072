// A work area: one open table seen through a current record, the deleted
// setting, a filter and an optional controlling order. Moves, field reads
// and assignments, appends, deletes, locate and eval happen here.
//
// States: empty (no table; the Workspace holds none) -> positioned on a
// record (GoTo/GoTop/Skip land on one) <-> at end of file (a phantom blank
// record numbered count + 1; Eof() true). Field assignments change the
// record buffer; it is written back by the next move, Flush, Commit, unlock
// or Close (WorkArea::FlushRecord).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rdd/order.h"
#include "platform/rdd/table.h"
#include "platform/runtime/value.h"

namespace qv::rdd {

// Settings the workspace shares with its areas.
struct EngineSettings {
  bool deleted = false;    // SET DELETED: deleted records are invisible
  bool soft_seek = false;  // SET SOFTSEEK
};

// A condition evaluated with the area positioned on the record in question.
using Predicate = std::function<bool()>;
// A relation's key, evaluated with the parent positioned on its record.
using KeyFunction = std::function<Result<rt::Value>()>;

// Which records DBEVAL visits. Defaults: every visible record from the top.
struct EvalScope {
  Predicate for_cond;    // visit only where true
  Predicate while_cond;  // stop at the first record where false
  uint32_t next = 0;     // at most this many records from the current one (0: no limit)
  uint32_t record = 0;   // only this record
  bool rest = false;     // from the current record instead of the top
};

class WorkArea {
 public:
  // REQUIRES: settings outlives the area.
  WorkArea(std::unique_ptr<Table> table, std::string alias, const EngineSettings* settings);
  ~WorkArea();

  Table& table() { return *table_; }
  const std::string& alias() const { return alias_; }

  // Moves. Top/bottom/skip pass over invisible records (deleted while the
  // deleted setting is on, or filtered out) and follow the controlling
  // order when one is set. GoTo goes to any record; out of range is EOF.
  Status GoTop() { return GoEnd(true); }
  Status GoBottom() { return GoEnd(false); }
  Status GoTo(uint32_t recno);
  Status Skip(int64_t n);
  uint32_t RecNo() const { return recno_; }
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool Found() const { return found_; }
  Result<uint32_t> RecCount() { return table_->RecordCount(); }
  bool Deleted() const { return !eof_ && record_[0] == kRecordDeleted; }

  // Fields, numbered from 1. FieldName past the last field is "".
  int FieldCount() const { return static_cast<int>(table_->fields().size()); }
  std::string FieldName(int pos) const;
  int FieldPos(std::string_view name) const { return table_->FieldIndex(name) + 1; }
  // InvalidArgument for a position or name that is no field.
  Result<rt::Value> Get(int pos);
  Result<rt::Value> Get(std::string_view name);
  // Stores value in the current record. REQUIRES: not at EOF; in shared use
  // the record or file lock (else LockBusy).
  Status Put(int pos, const rt::Value& value);
  Status Put(std::string_view name, const rt::Value& value);
  // The current record's bytes (deletion flag first), pending changes included.
  std::string_view RecordImage() const { return record_; }
  // Replaces the whole record image (bulk copies). Same REQUIRES as Put.
  Status PutImage(std::string_view image);

  // Appends a blank record and moves to it. false: in shared use the append
  // lock was refused; nothing was added.
  Result<bool> Append();
  Status Delete();
  Status Recall();

  // The filter: text as given (DBFILTER) and the predicate that decides.
  void SetFilter(std::string text, Predicate predicate);
  void ClearFilter() { SetFilter(std::string(), nullptr); }
  const std::string& FilterText() const { return filter_text_; }

  // LOCATE from the top for the first visible record where cond holds;
  // Found() tells; not found leaves the area at EOF. Continue searches on
  // from the next record with the same condition.
  Status Locate(Predicate cond);
  Status Continue();
  // DBEVAL: runs action on the records scope selects; stops at its first
  // failure and returns it.
  Status Eval(const std::function<Status()>& action, const EvalScope& scope);

  // The controlling order (null: record order). The order must belong to
  // one of the table's bags and live as long as it is set.
  void SetOrder(Order* order) { order_ = order; }
  Order* order() const { return order_; }
  // DBSEEK through the controlling order; soft: stay on the next greater
  // key when none matches. NotSupported without a controlling order.
  Status Seek(const rt::Value& key, bool soft, bool last = false);

  // Relations: after every move of this area each child is positioned by
  // a seek for key() in its controlling order (by record number when it has
  // none); not found, or this area at end of file, puts the child at end
  // of file. REQUIRES: the child outlives the relation (Workspace clears
  // relations into an area it closes).
  void SetRelation(WorkArea* child, KeyFunction key);
  void ClearRelations() { relations_.clear(); }
  void DropRelationsTo(const WorkArea* child);
  size_t relation_count() const { return relations_.size(); }

  // Locks (lock rules 3, 4, 6). RLock locks the current record alone.
  Result<bool> RLock();
  Result<bool> LockRecord(uint32_t recno, bool release_others) {
    return table_->LockRecord(recno, release_others);
  }
  Result<bool> FLock();
  Status Unlock();

  // Writes a changed record buffer to the table.
  Status FlushRecord();
  // FlushRecord, then the table's buffers to the operating system.
  Status Flush();
  // Flush and make durable (DBCOMMIT).
  Status Commit();
  Status Close();

 private:
  Status GoEnd(bool top);
  Status Load(uint32_t recno);  // positions on recno, or the phantom when 0 / past the end
  Result<bool> Visible();
  Result<uint32_t> Step(uint32_t from, bool forward);  // neighbour in the current order; 0: none
  Status SkipInvisible(bool forward);                  // from the current record on
  Status Search(bool from_next);
  Status Refresh();  // re-read the current record (shared use)
  Status Moved();    // repositions the related children
  Status SkipRecords(int64_t n);

  std::unique_ptr<Table> table_;
  std::string alias_;
  const EngineSettings* settings_;
  Order* order_ = nullptr;
  std::string record_;
  uint32_t recno_ = 0;
  bool dirty_ = false;
  bool eof_ = true;
  bool bof_ = true;
  bool found_ = false;
  std::string filter_text_;
  Predicate filter_;
  Predicate locate_;
  struct Relation {
    WorkArea* child;
    KeyFunction key;
  };
  std::vector<Relation> relations_;
};

}  // namespace qv::rdd
