// Fields, record changes, search and locks of WorkArea.
#include <cstring>

#include "platform/rdd/field_codec.h"
#include "platform/rdd/work_area.h"

namespace qv::rdd {
namespace {

Status NoField(std::string_view what) {
  return Status::InvalidArgument("no field " + std::string(what));
}

}  // namespace

Result<rt::Value> WorkArea::Get(int pos) {
  if (pos < 1 || pos > FieldCount()) return NoField(std::to_string(pos));
  const FieldInfo& f = table_->fields()[static_cast<size_t>(pos - 1)];
  if (f.type == FieldType::kMemo) {
    if (eof_) return rt::Value(std::string());
    QV_ASSIGN_OR_RETURN(std::string text, table_->ReadMemo(f, record_));
    return rt::Value(std::move(text));
  }
  return DecodeField(f, record_.data());
}

Result<rt::Value> WorkArea::Get(std::string_view name) {
  int pos = FieldPos(name);
  if (pos == 0) return NoField(name);
  return Get(pos);
}

Status WorkArea::PutImage(std::string_view image) {
  if (eof_) return Status::InvalidArgument(alias_ + ": no current record to write");
  if (!table_->RecordLocked(recno_)) {
    return Status::LockBusy(alias_ + ": record " + std::to_string(recno_) + " is not locked");
  }
  if (image.size() != record_.size()) return Status::InvalidArgument("record image length");
  record_.assign(image.data(), image.size());
  dirty_ = true;
  return Status::OK();
}

Status WorkArea::Put(int pos, const rt::Value& value) {
  if (pos < 1 || pos > FieldCount()) return NoField(std::to_string(pos));
  if (eof_) return Status::InvalidArgument(alias_ + ": no current record to write");
  if (table_->read_only()) return Status::InvalidArgument(alias_ + ": table is read-only");
  if (!table_->RecordLocked(recno_)) {
    return Status::LockBusy(alias_ + ": record " + std::to_string(recno_) + " is not locked");
  }
  const FieldInfo& f = table_->fields()[static_cast<size_t>(pos - 1)];
  if (f.type == FieldType::kMemo) {
    if (!value.IsString()) return Status::InvalidArgument("memo field " + f.name + " takes text");
    QV_ASSIGN_OR_RETURN(uint32_t block, table_->WriteMemo(value.str()));
    PutMemoBlock(f, block, record_.data());
  } else {
    Status s = EncodeField(f, value, record_.data());
    dirty_ |= s.ok() || s.IsInvalidArgument();  // an overflow leaves stars, as stored
    return s;
  }
  dirty_ = true;
  return Status::OK();
}

Status WorkArea::Put(std::string_view name, const rt::Value& value) {
  int pos = FieldPos(name);
  if (pos == 0) return NoField(name);
  return Put(pos, value);
}

Result<bool> WorkArea::Append() {
  QV_RETURN_IF_ERROR(FlushRecord());
  Result<uint32_t> recno = table_->AppendBlank();
  if (!recno.ok()) {
    if (recno.status().IsLockBusy()) return false;  // nothing added, nothing reported
    return recno.status();
  }
  QV_ASSIGN_OR_RETURN(std::string_view image, table_->ReadRecord(*recno));
  record_.assign(image.data(), image.size());
  recno_ = *recno;
  eof_ = bof_ = false;
  QV_RETURN_IF_ERROR(Moved());
  return true;
}

Status WorkArea::Delete() {
  if (eof_) return Status::OK();
  std::string image = record_;
  image[0] = kRecordDeleted;
  return PutImage(image);
}

Status WorkArea::Recall() {
  if (eof_) return Status::OK();
  std::string image = record_;
  image[0] = kRecordLive;
  return PutImage(image);
}

void WorkArea::SetFilter(std::string text, Predicate predicate) {
  filter_text_ = std::move(text);
  filter_ = std::move(predicate);
}

Status WorkArea::Search(bool from_next) {
  found_ = false;
  if (from_next) {
    QV_RETURN_IF_ERROR(Skip(1));
  } else {
    QV_RETURN_IF_ERROR(GoTop());
  }
  while (!eof_) {
    if (locate_()) {
      found_ = true;
      return Status::OK();
    }
    QV_RETURN_IF_ERROR(Skip(1));
  }
  return Status::OK();
}

Status WorkArea::Locate(Predicate cond) {
  locate_ = std::move(cond);
  if (!locate_) return Status::InvalidArgument("locate without a condition");
  return Search(false);
}

Status WorkArea::Continue() {
  if (!locate_) {
    found_ = false;
    return Status::OK();
  }
  return Search(true);
}

Status WorkArea::Eval(const std::function<Status()>& action, const EvalScope& scope) {
  if (scope.record != 0) {
    QV_RETURN_IF_ERROR(GoTo(scope.record));
    if (!eof_ && (!scope.for_cond || scope.for_cond())) return action();
    return Status::OK();
  }
  if (!scope.rest && scope.next == 0) QV_RETURN_IF_ERROR(GoTop());
  uint32_t visited = 0;
  while (!eof_ && (scope.next == 0 || visited < scope.next)) {
    if (scope.while_cond && !scope.while_cond()) break;
    if (!scope.for_cond || scope.for_cond()) QV_RETURN_IF_ERROR(action());
    ++visited;
    QV_RETURN_IF_ERROR(Skip(1));
  }
  return Status::OK();
}

Status WorkArea::Seek(const rt::Value& key, bool soft, bool last) {
  if (!order_) return Status::NotSupported(alias_ + ": seek needs a controlling order");
  QV_RETURN_IF_ERROR(FlushRecord());
  QV_ASSIGN_OR_RETURN(Order::SeekResult hit, order_->Seek(key, soft, last));
  QV_RETURN_IF_ERROR(Load(hit.recno));
  QV_RETURN_IF_ERROR(SkipInvisible(!last));
  found_ = false;
  if (!eof_ && hit.found) {
    QV_ASSIGN_OR_RETURN(found_, order_->KeyMatches(recno_, key));
  }
  if (!found_ && !soft && !eof_) QV_RETURN_IF_ERROR(Load(0));
  bof_ = false;
  return Moved();
}

Result<bool> WorkArea::RLock() {
  if (eof_) return table_->LockRecord(recno_, true);
  QV_RETURN_IF_ERROR(FlushRecord());
  QV_ASSIGN_OR_RETURN(bool granted, table_->LockRecord(recno_, true));
  if (granted) QV_RETURN_IF_ERROR(Load(recno_));  // read what the lock now protects
  return granted;
}

Result<bool> WorkArea::FLock() {
  QV_RETURN_IF_ERROR(FlushRecord());
  QV_ASSIGN_OR_RETURN(bool granted, table_->LockFile());
  if (granted && !eof_) QV_RETURN_IF_ERROR(Load(recno_));
  return granted;
}

Status WorkArea::Unlock() {
  QV_RETURN_IF_ERROR(FlushRecord());
  return table_->Unlock();
}

}  // namespace qv::rdd
