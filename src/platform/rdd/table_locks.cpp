// Record and file locks of Table (lock rules (2), (3), (4), (6), (9)).
#include "platform/rdd/table.h"

namespace qv::rdd {

Result<bool> Table::LockRecord(uint32_t recno, bool release_others) {
  if (options_.exclusive) return true;  // rule (2)
  if (release_others) {
    for (auto it = locked_.begin(); it != locked_.end();) {
      if (*it == recno) {
        ++it;
        continue;
      }
      QV_RETURN_IF_ERROR(dbf_->UnlockRange(lock_layout().RecordOffset(*it), 1));
      it = locked_.erase(it);
    }
  }
  if (file_locked_ || locked_.count(recno) != 0) return true;
  Status s = dbf_->LockRange(lock_layout().RecordOffset(recno), 1, true, /*wait=*/false);
  if (s.IsLockBusy()) return false;
  QV_RETURN_IF_ERROR(s);
  locked_.insert(recno);
  DropCache();  // rule (9)
  return true;
}

Result<bool> Table::LockFile() {
  if (options_.exclusive) return true;
  if (file_locked_) return true;
  for (uint32_t recno : locked_) {
    QV_RETURN_IF_ERROR(dbf_->UnlockRange(lock_layout().RecordOffset(recno), 1));
  }
  locked_.clear();
  const LockLayout layout = lock_layout();
  Status s = dbf_->LockRange(layout.FileOffset(), layout.FileLength(), true, /*wait=*/false);
  if (s.IsLockBusy()) return false;
  QV_RETURN_IF_ERROR(s);
  file_locked_ = true;
  DropCache();
  return true;
}

Status Table::UnlockRecord(uint32_t recno) {
  if (locked_.erase(recno) == 0) return Status::OK();
  QV_RETURN_IF_ERROR(Flush());
  return dbf_->UnlockRange(lock_layout().RecordOffset(recno), 1);
}

Status Table::Unlock() {
  if (options_.exclusive || !dbf_) return Status::OK();
  // What the locks protected reaches the file before others may take them.
  QV_RETURN_IF_ERROR(Flush());
  Status first;
  for (uint32_t recno : locked_) {
    Status s = dbf_->UnlockRange(lock_layout().RecordOffset(recno), 1);
    if (first.ok()) first = s;
  }
  locked_.clear();
  if (file_locked_) {
    const LockLayout layout = lock_layout();
    Status s = dbf_->UnlockRange(layout.FileOffset(), layout.FileLength());
    if (first.ok()) first = s;
    file_locked_ = false;
  }
  return first;
}

bool Table::RecordLocked(uint32_t recno) const {
  return options_.exclusive || file_locked_ || locked_.count(recno) != 0;
}

}  // namespace qv::rdd
