// The fault- and crash-injecting Env, on memory files.
#include "platform/fs/fault_env.h"

#include <gtest/gtest.h>

#include "platform/fs/win_fs.h"

namespace qv::fs {
namespace {

class FaultEnvTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(base_->MakeDir("/d").ok()); }
  std::string Read(const std::string& path) {
    Result<std::string> text = ReadWholeFile(*base_, path);
    return text.ok() ? *text : "<" + std::string(StatusCodeName(text.status().code())) + ">";
  }
  std::unique_ptr<Env> base_ = NewMemEnv();
  FaultEnv fault_{base_.get()};
};

TEST_F(FaultEnvTest, FailsTheNthWriteOnceOrForGood) {
  auto f = std::move(fault_.Open("/d/f", OpenMode::kCreate)).value();
  fault_.FailWrite(2);
  EXPECT_TRUE(f->WriteAt(0, "a").ok());
  EXPECT_TRUE(f->WriteAt(1, "b").IsIOError());
  EXPECT_TRUE(f->WriteAt(1, "c").ok());
  EXPECT_EQ(Read("/d/f"), "ac");  // the failed write left nothing

  fault_.FailWrite(1, /*sticky=*/true);
  EXPECT_TRUE(f->WriteAt(2, "d").IsIOError());
  EXPECT_TRUE(f->WriteAt(2, "e").IsIOError());
  fault_.FailWrite(0);
  EXPECT_TRUE(f->WriteAt(2, "f").ok());
  EXPECT_EQ(fault_.writes(), 6);
}

TEST_F(FaultEnvTest, FailsTheNthSync) {
  auto f = std::move(fault_.Open("/d/f", OpenMode::kCreate)).value();
  fault_.FailSync(2);
  EXPECT_TRUE(f->Sync().ok());
  EXPECT_TRUE(fault_.SyncDir("/d").IsIOError());
  EXPECT_TRUE(f->Sync().ok());
}

TEST_F(FaultEnvTest, CrashDropsWhatWasNotSynced) {
  {
    auto synced = std::move(fault_.Open("/d/synced", OpenMode::kCreate)).value();
    ASSERT_TRUE(synced->WriteAt(0, "v1").ok());
    ASSERT_TRUE(synced->Sync().ok());
    ASSERT_TRUE(synced->WriteAt(0, "v2-longer").ok());
  }
  ASSERT_TRUE(WriteWholeFile(fault_, "/d/never", "lost", false).ok());
  ASSERT_TRUE(WriteWholeFile(*base_, "/d/before", "old", true).ok());
  ASSERT_TRUE(WriteWholeFile(fault_, "/d/before", "replaced", false).ok());  // kCreate truncates
  // Write beside, sync, swap: the new content survives.
  ASSERT_TRUE(WriteWholeFile(fault_, "/d/table.tmp", "new table", true).ok());
  ASSERT_TRUE(fault_.Rename("/d/table.tmp", "/d/table").ok());
  auto open = std::move(fault_.Open("/d/synced", OpenMode::kReadWrite)).value();
  ASSERT_TRUE(open->LockRange(1000, 1, true, false).ok());

  ASSERT_TRUE(fault_.Crash().ok());
  EXPECT_EQ(Read("/d/synced"), "v1");
  EXPECT_EQ(Read("/d/never"), "<Not found>");
  EXPECT_EQ(Read("/d/before"), "old");
  EXPECT_EQ(Read("/d/table"), "new table");
  char c;
  size_t got;
  EXPECT_TRUE(open->ReadAt(0, 1, &c, &got).IsIOError());  // its process is gone
  EXPECT_TRUE(open->WriteAt(0, "x").IsIOError());
  auto after = std::move(fault_.Open("/d/synced", OpenMode::kReadWrite)).value();
  EXPECT_TRUE(after->LockRange(1000, 1, true, false).ok());  // the lost file's lock went
}

TEST_F(FaultEnvTest, CopyReportsAnInjectedWriteFault) {
  ASSERT_TRUE(base_->MakeDir("/c").ok());
  ASSERT_TRUE(WriteWholeFile(*base_, "/c/src.dbf", std::string(200000, 'x'), false).ok());
  DriveMap map;
  map.roots['C'] = "/c";
  WinFs win(fault_, map);
  fault_.FailWrite(2);
  EXPECT_TRUE(win.Copy("C:\\src.dbf", "C:\\dst.dbf").IsIOError());
  EXPECT_TRUE(win.Copy("C:\\src.dbf", "C:\\dst.dbf").ok());
  EXPECT_EQ(Read("/c/dst.dbf").size(), 200000u);
}

TEST_F(FaultEnvTest, ReportsTheFreeSpaceItIsGiven) {
  fault_.SetFreeSpace(12999999);
  EXPECT_EQ(*fault_.FreeSpace("/d"), 12999999u);
}

}  // namespace
}  // namespace qv::fs
