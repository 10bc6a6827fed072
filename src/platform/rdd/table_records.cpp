// Record I/O of Table: a read window of whole records (written back in
// exclusive use), buffered appends in exclusive use, and the shared-use
// append of lock rule (5).
#include <algorithm>
#include <cstring>

#include "platform/rdd/field_codec.h"
#include "platform/rdd/table.h"

namespace qv::rdd {
namespace {

constexpr size_t kWindowBytes = 256 * 1024;
// A read that does not continue the window (an index order jumping about)
// reads one sector's worth: random access pays for every byte it copies,
// and a walk in index order seldom lands near the last record.
constexpr size_t kJumpWindowBytes = 512;
constexpr size_t kAppendFlushBytes = 1024 * 1024;

}  // namespace

Result<uint32_t> Table::RecordCount() {
  if (!options_.exclusive && !closed_) {
    QV_ASSIGN_OR_RETURN(uint64_t size, dbf_->Size());
    count_ = file_count_ = header_.CountFromSize(size);
  }
  return count_;
}

void Table::DropCache() {
  if (dirty_hi_ == 0) window_n_ = 0;  // dirty records stay until written
}

Status Table::FlushWindow() {
  if (dirty_hi_ == 0) return Status::OK();
  const size_t rl = header_.record_length;
  std::string_view dirty(window_.data() + (dirty_lo_ - window_first_) * rl,
                         (dirty_hi_ - dirty_lo_ + 1) * rl);
  dirty_hi_ = 0;
  return dbf_->WriteAt(RecordOffset(dirty_lo_), dirty);
}

Status Table::FlushAppends() {
  if (append_buf_.empty()) return Status::OK();
  append_buf_ += kEndOfFile;
  Status s = dbf_->WriteAt(RecordOffset(file_count_ + 1), append_buf_);
  if (!s.ok()) {
    append_buf_.pop_back();
    return s;
  }
  append_buf_.clear();
  file_count_ = count_;
  header_dirty_ = true;
  return Status::OK();
}

Status Table::LoadWindow(uint32_t recno) {
  QV_RETURN_IF_ERROR(FlushWindow());
  const size_t rl = header_.record_length;
  const bool forwards = window_n_ != 0 && recno == window_first_ + window_n_;
  const bool backwards = window_n_ != 0 && recno + 1 == window_first_;
  const size_t bytes = forwards || backwards || window_n_ == 0 ? kWindowBytes : kJumpWindowBytes;
  uint32_t n = static_cast<uint32_t>(std::max<size_t>(1, bytes / rl));
  // Moving backwards: put recno at the window's end so the next steps hit.
  uint32_t first = recno;
  if (backwards) first = recno >= n ? recno - n + 1 : 1;
  n = std::min(n, file_count_ - first + 1);
  window_.resize(static_cast<size_t>(n) * rl);
  size_t got = 0;
  QV_RETURN_IF_ERROR(dbf_->ReadAt(RecordOffset(first), window_.size(), window_.data(), &got));
  n = static_cast<uint32_t>(got / rl);
  window_first_ = first;
  window_n_ = n;
  if (recno >= first + n) {
    window_n_ = 0;
    return Status::Corruption(
        path_, RecordOffset(recno),
        "record " + std::to_string(recno) + " is cut off by the end of the file");
  }
  return Status::OK();
}

Result<std::string_view> Table::ReadRecord(uint32_t recno) {
  const size_t rl = header_.record_length;
  if (recno == 0 || recno > count_) {
    return Status::InvalidArgument(path_ + ": no record " + std::to_string(recno));
  }
  if (recno > file_count_) {
    return std::string_view(append_buf_.data() + (recno - file_count_ - 1) * rl, rl);
  }
  if (window_n_ == 0 || recno < window_first_ || recno >= window_first_ + window_n_) {
    QV_RETURN_IF_ERROR(LoadWindow(recno));
  }
  return std::string_view(window_.data() + (recno - window_first_) * rl, rl);
}

Status Table::RequireWritable(uint32_t recno) const {
  if (options_.read_only) return Status::InvalidArgument(path_ + ": table is read-only");
  if (!options_.exclusive && !file_locked_ && locked_.count(recno) == 0) {
    return Status::LockBusy(path_ + ": record " + std::to_string(recno) + " is not locked");
  }
  return Status::OK();
}

Status Table::NotifyBags(uint32_t recno, std::string_view old_image, std::string_view new_image) {
  for (auto& bag : bags_) QV_RETURN_IF_ERROR(bag->RecordWritten(recno, old_image, new_image));
  return Status::OK();
}

Status Table::WriteRecord(uint32_t recno, std::string_view image) {
  QV_RETURN_IF_ERROR(RequireWritable(recno));
  const size_t rl = header_.record_length;
  if (image.size() != rl) return Status::InvalidArgument(path_ + ": record image of wrong length");
  QV_ASSIGN_OR_RETURN(std::string_view current, ReadRecord(recno));
  if (!bags_.empty()) {
    std::string old_image(current);
    QV_RETURN_IF_ERROR(NotifyBags(recno, old_image, image));
    QV_ASSIGN_OR_RETURN(current, ReadRecord(recno));
  }
  char* slot = const_cast<char*>(current.data());
  std::memcpy(slot, image.data(), rl);
  if (recno > file_count_) return Status::OK();  // still in the append buffer
  if (options_.exclusive) {
    if (dirty_hi_ == 0) {
      dirty_lo_ = dirty_hi_ = recno;
    } else {
      dirty_lo_ = std::min(dirty_lo_, recno);
      dirty_hi_ = std::max(dirty_hi_, recno);
    }
    header_dirty_ = true;  // the last-update date moves on
    return Status::OK();
  }
  return dbf_->WriteAt(RecordOffset(recno), image);
}

Result<uint32_t> Table::AppendRecord(std::string_view image) {
  if (options_.read_only) return Status::InvalidArgument(path_ + ": table is read-only");
  if (!options_.exclusive && !file_locked_) {
    QV_ASSIGN_OR_RETURN(uint32_t recno, AppendBlank());
    QV_RETURN_IF_ERROR(WriteRecord(recno, image));
    return recno;
  }
  if (!options_.exclusive) QV_RETURN_IF_ERROR(RecordCount().status());
  const uint32_t recno = count_ + 1;
  if (recno == 0) return Status::IOError(path_ + ": table full");
  append_buf_.append(image);
  ++count_;
  header_dirty_ = true;
  QV_RETURN_IF_ERROR(NotifyBags(recno, std::string_view(), image));
  if (append_buf_.size() >= kAppendFlushBytes || !options_.exclusive) {
    QV_RETURN_IF_ERROR(FlushAppends());
    if (!options_.exclusive) QV_RETURN_IF_ERROR(WriteHeader(count_));
  }
  return recno;
}

Result<uint32_t> Table::AppendBlank() {
  const std::string blank = BlankRecord(header_);
  if (options_.exclusive || file_locked_) return AppendRecord(blank);
  if (options_.read_only) return Status::InvalidArgument(path_ + ": table is read-only");
  // Lock rule (5).
  const LockLayout layout = lock_layout();
  QV_RETURN_IF_ERROR(dbf_->LockRange(layout.AppendOffset(), 1, true, /*wait=*/true));
  auto unlock_append = [&] { (void)dbf_->UnlockRange(layout.AppendOffset(), 1); };
  Result<uint32_t> count = RecordCount();
  if (!count.ok()) {
    unlock_append();
    return count.status();
  }
  const uint32_t recno = *count + 1;
  Result<bool> locked = LockRecord(recno, /*release_others=*/true);
  if (!locked.ok() || !*locked) {
    unlock_append();
    if (!locked.ok()) return locked.status();
    return Status::LockBusy(path_ + ": append lock failed");
  }
  Status s = dbf_->WriteAt(RecordOffset(recno), blank);
  if (s.ok()) {
    count_ = file_count_ = recno;
    s = WriteHeader(recno);
  }
  if (s.ok()) s = NotifyBags(recno, std::string_view(), blank);
  unlock_append();
  if (!s.ok()) return s;
  return recno;
}

Result<std::string> Table::ReadMemo(const FieldInfo& f, std::string_view record) {
  uint32_t block = MemoBlockOf(f, record.data());
  if (block == 0) return std::string();
  if (!memo_) return Status::Corruption(path_, 0, "memo field " + f.name + " without memo file");
  return memo_->Read(block);
}

Result<uint32_t> Table::WriteMemo(std::string_view text) {
  if (!memo_) return Status::InvalidArgument(path_ + ": table has no memo file");
  if (options_.read_only) return Status::InvalidArgument(path_ + ": table is read-only");
  return memo_->Append(text);
}

}  // namespace qv::rdd
