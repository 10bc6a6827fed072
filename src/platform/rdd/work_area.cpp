// Navigation of WorkArea: positioning, visibility, skipping through the
// controlling order or record order.
#include "platform/rdd/work_area.h"

#include "platform/rdd/field_codec.h"

namespace qv::rdd {

WorkArea::WorkArea(std::unique_ptr<Table> table, std::string alias, const EngineSettings* settings)
    : table_(std::move(table)), alias_(std::move(alias)), settings_(settings) {
  record_ = BlankRecord(table_->header());
  recno_ = table_->known_count() + 1;
  (void)GoTop();
}

WorkArea::~WorkArea() { (void)Close(); }

Status WorkArea::Load(uint32_t recno) {
  QV_RETURN_IF_ERROR(FlushRecord());
  // In shared use the count moves with others' appends; ask the file only
  // when the known count does not settle it.
  uint32_t count = table_->known_count();
  if (recno == 0 || recno > count) {
    QV_ASSIGN_OR_RETURN(count, table_->RecordCount());
  }
  if (recno == 0 || recno > count) {
    record_ = BlankRecord(table_->header());
    recno_ = count + 1;
    eof_ = true;
    return Status::OK();
  }
  QV_ASSIGN_OR_RETURN(std::string_view image, table_->ReadRecord(recno));
  record_.assign(image.data(), image.size());
  recno_ = recno;
  eof_ = false;
  return Status::OK();
}

Status WorkArea::Refresh() {
  if (table_->exclusive() || eof_ || dirty_) return Status::OK();
  table_->DropCache();
  return Load(recno_);
}

Result<bool> WorkArea::Visible() {
  if (eof_) return true;
  if (settings_->deleted && record_[0] == kRecordDeleted) return false;
  if (filter_ && !filter_()) return false;
  return true;
}

Result<uint32_t> WorkArea::Step(uint32_t from, bool forward) {
  if (order_) return forward ? order_->Next(from) : order_->Prev(from);
  if (!forward) return from - 1;
  if (from < table_->known_count()) return from + 1;
  QV_ASSIGN_OR_RETURN(uint32_t count, table_->RecordCount());
  return from < count ? from + 1 : 0;
}

Status WorkArea::SkipInvisible(bool forward) {
  while (!eof_) {
    QV_ASSIGN_OR_RETURN(bool visible, Visible());
    if (visible) return Status::OK();
    QV_ASSIGN_OR_RETURN(uint32_t next, Step(recno_, forward));
    QV_RETURN_IF_ERROR(Load(next));
  }
  return Status::OK();
}

// The first (top) or last visible record in the current order.
Status WorkArea::GoEnd(bool top) {
  if (!table_->exclusive()) table_->DropCache();
  uint32_t recno = top ? 1 : 0;
  if (order_) {
    QV_ASSIGN_OR_RETURN(recno, top ? order_->First() : order_->Last());
  } else if (!top) {
    QV_ASSIGN_OR_RETURN(recno, table_->RecordCount());
  }
  QV_RETURN_IF_ERROR(Load(recno));
  QV_RETURN_IF_ERROR(SkipInvisible(top));
  bof_ = eof_;
  return Moved();
}

Status WorkArea::GoTo(uint32_t recno) {
  if (!table_->exclusive()) table_->DropCache();
  QV_RETURN_IF_ERROR(Load(recno));
  bof_ = eof_;
  return Moved();
}

Status WorkArea::Skip(int64_t n) {
  if (n == 0) return Refresh();
  if (relations_.empty()) return SkipRecords(n);
  std::vector<Relation> relations = std::move(relations_);  // children follow the end only
  relations_.clear();
  Status s = SkipRecords(n);
  relations_ = std::move(relations);
  QV_RETURN_IF_ERROR(s);
  return Moved();
}

Status WorkArea::SkipRecords(int64_t n) {
  bof_ = false;
  if (n > 0) {
    for (int64_t i = 0; i < n && !eof_; ++i) {
      QV_ASSIGN_OR_RETURN(uint32_t next, Step(recno_, true));
      QV_RETURN_IF_ERROR(Load(next));
      QV_RETURN_IF_ERROR(SkipInvisible(true));
    }
    return Status::OK();
  }
  if (eof_) {  // backwards from the end: the last visible record first
    QV_RETURN_IF_ERROR(GoBottom());
    if (eof_) return Status::OK();
    ++n;
  }
  for (int64_t i = 0; i > n; --i) {
    QV_ASSIGN_OR_RETURN(uint32_t prev, Step(recno_, false));
    QV_RETURN_IF_ERROR(Load(prev));
    QV_RETURN_IF_ERROR(SkipInvisible(false));
    if (eof_) {  // ran off the top: stay on the first visible record
      QV_RETURN_IF_ERROR(GoTop());
      bof_ = true;
      return Status::OK();
    }
  }
  return Status::OK();
}

void WorkArea::SetRelation(WorkArea* child, KeyFunction key) {
  relations_.push_back(Relation{child, std::move(key)});
}

void WorkArea::DropRelationsTo(const WorkArea* child) {
  std::vector<Relation> kept;
  for (Relation& r : relations_) {
    if (r.child != child) kept.push_back(std::move(r));
  }
  relations_ = std::move(kept);
}

Status WorkArea::Moved() {
  for (Relation& r : relations_) {
    if (eof_) {
      QV_RETURN_IF_ERROR(r.child->GoTo(0));
      continue;
    }
    QV_ASSIGN_OR_RETURN(rt::Value key, r.key());
    if (r.child->order() == nullptr) {
      QV_RETURN_IF_ERROR(r.child->GoTo(key.IsNumber() ? static_cast<uint32_t>(key.num()) : 0));
    } else {
      QV_RETURN_IF_ERROR(r.child->Seek(key, false));
    }
  }
  return Status::OK();
}

std::string WorkArea::FieldName(int pos) const {
  if (pos < 1 || pos > FieldCount()) return std::string();
  return table_->fields()[static_cast<size_t>(pos - 1)].name;
}

Status WorkArea::FlushRecord() {
  if (!dirty_) return Status::OK();
  dirty_ = false;
  Status s = table_->WriteRecord(recno_, record_);
  if (!s.ok()) dirty_ = true;
  return s;
}

Status WorkArea::Flush() {
  QV_RETURN_IF_ERROR(FlushRecord());
  return table_->Flush();
}

Status WorkArea::Commit() {
  QV_RETURN_IF_ERROR(FlushRecord());
  return table_->Commit();
}

Status WorkArea::Close() {
  if (!table_) return Status::OK();
  Status s = FlushRecord();
  Status closed = table_->Close();
  table_.reset();
  return s.ok() ? closed : s;
}

}  // namespace qv::rdd
