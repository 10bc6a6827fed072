// Locks across openers: byte offsets of both layouts (checked by taking the
// same bytes through a raw file, as another program would), record versus
// file locks, the append lock, and writes that need a lock.
#include <gtest/gtest.h>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

class LocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = fs::NewHostEnv();
    path_ = dir_.Sub("t.dbf");
    testutil::MakeTable(*env_, path_, 5);
  }
  std::unique_ptr<WorkArea> Open() {
    auto table = Table::Open(*env_, path_, testutil::Shared());
    EXPECT_TRUE(table.ok()) << table.status().ToString();
    return std::make_unique<WorkArea>(std::move(table).value(), "T", &settings_);
  }
  // Whether another program could take [offset, offset + len) right now.
  bool Free(uint64_t offset, uint64_t len) {
    auto probe = env_->Open(path_, fs::OpenMode::kReadWrite);
    Status s = (*probe)->LockRange(offset, len, true, false);
    return s.ok();
  }
  void SetBagFlag() {
    std::string bytes = qv::testing::ReadHostFile(path_);
    bytes[kDbfFlagsOffset] = kFlagStructuralBag;
    qv::testing::WriteHostFile(path_, bytes);
  }

  qv::testing::TempDir dir_;
  std::unique_ptr<fs::Env> env_;
  std::string path_;
  EngineSettings settings_;
};

TEST_F(LocksTest, RecordAndFileLocksSitAtTheReferenceOffsets) {
  for (bool bag : {false, true}) {
    SCOPED_TRACE(bag ? "with structural bag" : "without");
    if (bag) SetBagFlag();
    auto area = Open();
    const DbfHeader& h = area->table().header();
    const uint64_t rec5 =
        bag ? 0x7FFFFFFEull - 5 : 0x40000000ull + h.header_length + 4ull * h.record_length;
    ASSERT_TRUE(area->GoTo(5).ok());
    ASSERT_TRUE(*area->RLock());
    EXPECT_FALSE(Free(rec5, 1));
    EXPECT_TRUE(Free(rec5 - 1, 1));
    ASSERT_TRUE(area->Unlock().ok());
    EXPECT_TRUE(Free(rec5, 1));
    ASSERT_TRUE(*area->FLock());
    if (bag) {
      EXPECT_FALSE(Free(0x77FFFFFF, 1));
      EXPECT_FALSE(Free(0x7FFFFFFD, 1));
      EXPECT_TRUE(Free(0x7FFFFFFE, 1));  // the append byte stays free
    } else {
      EXPECT_FALSE(Free(0x40000001, 1));
      EXPECT_FALSE(Free(0x7FFFFFFD, 1));
      EXPECT_TRUE(Free(0x40000000, 1));
    }
    ASSERT_TRUE(area->Close().ok());
  }
}

TEST_F(LocksTest, TwoAreasOfOneProcessConflictLikeTwoPrograms) {
  auto a = Open();
  auto b = Open();
  ASSERT_TRUE(a->GoTo(2).ok());
  ASSERT_TRUE(b->GoTo(2).ok());
  EXPECT_TRUE(*a->RLock());
  EXPECT_FALSE(*b->RLock());  // returns at once, refused
  EXPECT_FALSE(*b->FLock());  // a record lock of another blocks the file lock
  ASSERT_TRUE(b->GoTo(3).ok());
  EXPECT_TRUE(*b->RLock());
  // RLOCK releases the area's other record locks.
  ASSERT_TRUE(a->GoTo(4).ok());
  EXPECT_TRUE(*a->RLock());
  ASSERT_TRUE(b->GoTo(2).ok());
  EXPECT_TRUE(*b->RLock());
  ASSERT_TRUE(b->Unlock().ok());
  ASSERT_TRUE(a->Unlock().ok());
  EXPECT_TRUE(*a->FLock());
  EXPECT_FALSE(*b->RLock());
}

TEST_F(LocksTest, WritesInSharedUseNeedALock) {
  auto a = Open();
  auto b = Open();
  ASSERT_TRUE(a->GoTo(1).ok());
  EXPECT_TRUE(a->Put("CODE", rt::Value("X")).IsLockBusy());
  ASSERT_TRUE(*a->RLock());
  ASSERT_TRUE(a->Put("CODE", rt::Value("X")).ok());
  ASSERT_TRUE(a->Unlock().ok());  // unlock writes the record first
  ASSERT_TRUE(b->GoTo(1).ok());
  EXPECT_EQ(b->Get("CODE")->str(), "X     ");
}

TEST_F(LocksTest, AppendInSharedUse) {
  auto a = Open();
  auto b = Open();
  ASSERT_TRUE(*a->Append());
  EXPECT_EQ(a->RecNo(), 6u);
  EXPECT_TRUE(a->table().RecordLocked(6));  // the new record stays locked
  ASSERT_TRUE(a->Put("CODE", rt::Value("NEW")).ok());
  ASSERT_TRUE(a->Flush().ok());
  EXPECT_EQ(*b->RecCount(), 6u);  // counted from the file size
  // b appends 7; the header count and the file grow, no 0x1A is added.
  ASSERT_TRUE(*b->Append());
  EXPECT_EQ(b->RecNo(), 7u);
  std::string bytes = qv::testing::ReadHostFile(path_);
  const DbfHeader& h = a->table().header();
  EXPECT_EQ(bytes.size(), h.header_length + 7u * h.record_length);
  EXPECT_EQ(bytes[kDbfRecordCountOffset], 7);
  // A refused record lock for the new record: nothing added, nothing said.
  auto probe = env_->Open(path_, fs::OpenMode::kReadWrite);
  ASSERT_TRUE((*probe)->LockRange(a->table().lock_layout().RecordOffset(8), 1, true, false).ok());
  auto added = a->Append();
  ASSERT_TRUE(added.ok());
  EXPECT_FALSE(*added);
  EXPECT_EQ(*a->RecCount(), 7u);
}

TEST_F(LocksTest, ExclusiveUseTakesNoByteLocks) {
  auto table = Table::Open(*env_, path_, testutil::Exclusive());
  ASSERT_TRUE(table.ok());
  WorkArea area(std::move(table).value(), "T", &settings_);
  ASSERT_TRUE(area.GoTo(5).ok());
  EXPECT_TRUE(*area.RLock());
  EXPECT_TRUE(*area.FLock());
  EXPECT_TRUE(Free(0x40000000, 0x40000000));
}

}  // namespace
}  // namespace qv::rdd
