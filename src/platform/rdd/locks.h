// Where a table's locks sit and the rules every opener follows, so that our
// processes and other xBase programs sharing the folder respect each other.
//
// Lock protocol (Table implements each rule; code cites "lock rule (n)"):
//  (1) Open: a whole-file share lock (flock) on the DBF, its memo file and
//      its structural bag, shared or exclusive, non-blocking, held until
//      close. Busy means another opener conflicts: the open fails
//      (Table::Open, LockBusy). Tables are created exclusive.
//  (2) Exclusive open: no byte locks are taken; every lock call succeeds.
//  (3) Record lock n: one byte, exclusive, no wait, at RecordLockOffset(n)
//      (Table::LockRecord). Locking one record may first release the
//      others (the RLOCK form) or add to them (the DBRLOCK form).
//  (4) File lock: the whole-file range, exclusive, no wait; it conflicts
//      with any record lock of another opener (Table::LockFile). Our own
//      record locks are released first.
//  (5) Append in shared use (Table::AppendBlank): take the append byte
//      with waiting; recount records from the file size; release our
//      record locks; lock record count + 1 by rule (3) (refused: release
//      the append byte, add nothing); write the blank record and the
//      32-byte header; release the append byte. The new record stays locked.
//  (6) Unlock releases the file lock and every record lock (Table::Unlock);
//      close releases everything, share lock included.
//  (7) In shared use a record is written only under its record lock or
//      the file lock (Table::WriteRecord returns LockBusy otherwise).
//  (8) A memo is allocated under byte 0 of the memo file, exclusive, with
//      waiting (MemoFile::Append).
//  (9) Once a lock is granted, cached records are dropped, so what the
//      lock protects is read fresh.
// Byte locks are open-file-description locks: they belong to one open
// table, so two work areas of one process conflict as two programs do.
#pragma once

#include <cstdint>

#include "platform/rdd/dbf_format.h"

namespace qv::rdd {

// Layout with a structural bag (header byte 28 bit 0x01).
inline constexpr uint64_t kBagLockBase = 0x7FFFFFFE;        // append; record n = base - n
inline constexpr uint64_t kBagFileLockLength = 0x07FFFFFF;  // from base - length
// Layout without a structural bag.
inline constexpr uint64_t kPlainLockBase = 0x40000000;  // append; records at base + file offset
inline constexpr uint64_t kPlainFileLockOffset = 0x40000001;
inline constexpr uint64_t kPlainFileLockLength = 0x3FFFFFFD;

struct LockLayout {
  bool bag = false;
  uint64_t header_length = 0;
  uint64_t record_length = 0;

  static LockLayout For(const DbfHeader& header) {
    return LockLayout{header.HasStructuralBag(), header.header_length, header.record_length};
  }
  uint64_t RecordOffset(uint32_t recno) const {
    return bag ? kBagLockBase - recno
               : kPlainLockBase + header_length +
                     (static_cast<uint64_t>(recno) - 1) * record_length;
  }
  uint64_t AppendOffset() const { return bag ? kBagLockBase : kPlainLockBase; }
  uint64_t FileOffset() const {
    return bag ? kBagLockBase - kBagFileLockLength : kPlainFileLockOffset;
  }
  uint64_t FileLength() const { return bag ? kBagFileLockLength : kPlainFileLockLength; }
};

}  // namespace qv::rdd
