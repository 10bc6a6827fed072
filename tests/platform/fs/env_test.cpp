// The Env contract, run against the host and the memory implementation alike.
#include "platform/fs/env.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/fs/env_param.h"

namespace qv::fs {
namespace {

class EnvTest : public HostOrMemoryTest {
 protected:
  std::unique_ptr<File> OpenOk(const std::string& name, OpenMode mode) {
    Result<std::unique_ptr<File>> f = env_->Open(P(name), mode);
    EXPECT_TRUE(f.ok()) << f.status().ToString();
    return f.ok() ? std::move(f).value() : nullptr;
  }
  std::string Read(const std::string& name) {
    Result<std::string> text = ReadWholeFile(*env_, P(name));
    return text.ok() ? *text : "<" + text.status().ToString() + ">";
  }
};

TEST_P(EnvTest, OpenModes) {
  EXPECT_TRUE(env_->Open(P("x"), OpenMode::kRead).status().IsNotFound());
  EXPECT_TRUE(env_->Open(P("x"), OpenMode::kReadWrite).status().IsNotFound());
  EXPECT_TRUE(env_->Open(P("no/x"), OpenMode::kCreate).status().IsNotFound());
  ASSERT_TRUE(WriteWholeFile(*env_, P("x"), "hello", true).ok());
  EXPECT_TRUE(env_->Open(P("x"), OpenMode::kCreateNew).status().IsExists());
  { auto rw = OpenOk("x", OpenMode::kReadWrite); }
  EXPECT_EQ(Read("x"), "hello");
  {
    auto ro = OpenOk("x", OpenMode::kRead);
    EXPECT_FALSE(ro->WriteAt(0, "j").ok());
  }
  { auto created = OpenOk("x", OpenMode::kCreate); }
  EXPECT_EQ(Read("x"), "");
  ASSERT_TRUE(env_->MakeDir(P("d")).ok());
  EXPECT_TRUE(env_->Open(P("d"), OpenMode::kRead).status().IsInvalidArgument());
}

TEST_P(EnvTest, ReadAndWriteAtOffsets) {
  auto f = OpenOk("f", OpenMode::kCreateNew);
  ASSERT_TRUE(f->WriteAt(4, "abc").ok());
  EXPECT_EQ(*f->Size(), 7u);
  char buf[16];
  size_t got = 0;
  ASSERT_TRUE(f->ReadAt(0, sizeof buf, buf, &got).ok());
  EXPECT_EQ(std::string(buf, got), std::string("\0\0\0\0abc", 7));  // a hole reads as zeros
  ASSERT_TRUE(f->WriteAt(5, "XYZW").ok());
  ASSERT_TRUE(f->ReadAt(3, 4, buf, &got).ok());
  EXPECT_EQ(std::string(buf, got), std::string("\0aXY", 4));
  ASSERT_TRUE(f->ReadAt(100, 4, buf, &got).ok());
  EXPECT_EQ(got, 0u);
  ASSERT_TRUE(f->Truncate(2).ok());
  EXPECT_EQ(*f->Size(), 2u);
  ASSERT_TRUE(f->Sync().ok());
}

TEST_P(EnvTest, RenameOverKeepsOpenFilesOnTheOldData) {
  ASSERT_TRUE(WriteWholeFile(*env_, P("old"), "old", false).ok());
  ASSERT_TRUE(WriteWholeFile(*env_, P("new"), "new!", false).ok());
  auto reader = OpenOk("old", OpenMode::kRead);
  ASSERT_TRUE(env_->Rename(P("new"), P("old")).ok());
  EXPECT_EQ(Read("old"), "new!");
  EXPECT_TRUE(env_->Stat(P("new")).status().IsNotFound());
  char buf[8];
  size_t got = 0;
  ASSERT_TRUE(reader->ReadAt(0, sizeof buf, buf, &got).ok());
  EXPECT_EQ(std::string(buf, got), "old");
  EXPECT_TRUE(env_->Rename(P("gone"), P("x")).IsNotFound());
}

TEST_P(EnvTest, FoldersAndListing) {
  EXPECT_TRUE(env_->MakeDir(P("a")).ok());
  EXPECT_TRUE(env_->MakeDir(P("a")).IsExists());
  EXPECT_TRUE(env_->MakeDir(P("x/y")).IsNotFound());  // one level only
  ASSERT_TRUE(WriteWholeFile(*env_, P("a/f.dbf"), "12345", false).ok());
  ASSERT_TRUE(env_->MakeDir(P("a/sub")).ok());
  Result<std::vector<DirEntry>> list = env_->List(P("a"));
  ASSERT_TRUE(list.ok());
  ASSERT_EQ(list->size(), 2u);
  for (const DirEntry& e : *list) {
    if (e.name == "f.dbf") {
      EXPECT_FALSE(e.info.is_dir);
      EXPECT_EQ(e.info.size, 5u);
    } else {
      EXPECT_EQ(e.name, "sub");
      EXPECT_TRUE(e.info.is_dir);
    }
  }
  EXPECT_TRUE(env_->List(P("nothing")).status().IsNotFound());
  EXPECT_TRUE(env_->RemoveDir(P("a")).IsExists());  // not empty
  EXPECT_TRUE(env_->Remove(P("a/sub")).IsInvalidArgument());
  EXPECT_TRUE(env_->Remove(P("a/f.dbf")).ok());
  EXPECT_TRUE(env_->Remove(P("a/f.dbf")).IsNotFound());
  EXPECT_TRUE(env_->RemoveDir(P("a/sub")).ok());
  EXPECT_TRUE(env_->RemoveDir(P("a")).ok());
  EXPECT_TRUE(env_->SyncDir(dir_).ok());
}

TEST_P(EnvTest, TimesAndFreeSpace) {
  ASSERT_TRUE(WriteWholeFile(*env_, P("t"), "x", false).ok());
  ASSERT_TRUE(env_->SetMTime(P("t"), 1000000000).ok());
  EXPECT_EQ(env_->Stat(P("t"))->mtime, 1000000000);
  EXPECT_TRUE(env_->SetMTime(P("none"), 1).IsNotFound());
  Result<uint64_t> free_space = env_->FreeSpace(dir_);
  ASSERT_TRUE(free_space.ok());
  EXPECT_GT(*free_space, 0u);
}

TEST_P(EnvTest, ShareModesConflictBetweenOpenFiles) {
  ASSERT_TRUE(WriteWholeFile(*env_, P("s"), "", false).ok());
  auto a = OpenOk("s", OpenMode::kReadWrite);
  auto b = OpenOk("s", OpenMode::kReadWrite);
  auto c = OpenOk("s", OpenMode::kReadWrite);
  ASSERT_TRUE(a->SetShareMode(ShareMode::kShared).ok());
  ASSERT_TRUE(b->SetShareMode(ShareMode::kShared).ok());
  EXPECT_TRUE(c->SetShareMode(ShareMode::kExclusive).IsLockBusy());
  ASSERT_TRUE(a->SetShareMode(ShareMode::kNone).ok());
  ASSERT_TRUE(b->SetShareMode(ShareMode::kNone).ok());
  ASSERT_TRUE(c->SetShareMode(ShareMode::kExclusive).ok());
  EXPECT_TRUE(a->SetShareMode(ShareMode::kShared).IsLockBusy());
  c.reset();  // closing releases
  EXPECT_TRUE(a->SetShareMode(ShareMode::kExclusive).ok());
}

TEST_P(EnvTest, RangeLocksConflictSplitAndGoWithTheFile) {
  ASSERT_TRUE(WriteWholeFile(*env_, P("r"), "", false).ok());
  auto a = OpenOk("r", OpenMode::kReadWrite);
  auto b = OpenOk("r", OpenMode::kReadWrite);
  const uint64_t kNear31 = (uint64_t{1} << 31) - 2;  // where xBase lock offsets sit
  ASSERT_TRUE(a->LockRange(kNear31, 1, true, false).ok());
  EXPECT_TRUE(b->LockRange(kNear31, 1, true, false).IsLockBusy());
  EXPECT_TRUE(b->LockRange(kNear31, 1, false, false).IsLockBusy());
  EXPECT_TRUE(b->LockRange(kNear31 + 1, 1, true, false).ok());
  EXPECT_TRUE(a->LockRange(kNear31, 1, true, false).ok());  // an owner never conflicts with itself

  ASSERT_TRUE(a->LockRange(5000000000, 100, false, false).ok());  // beyond 2^32
  EXPECT_TRUE(b->LockRange(5000000050, 10, false, false).ok());   // readers share
  EXPECT_TRUE(b->LockRange(5000000090, 20, true, false).IsLockBusy());

  ASSERT_TRUE(a->LockRange(100, 100, true, false).ok());
  ASSERT_TRUE(a->UnlockRange(140, 20).ok());
  EXPECT_TRUE(b->LockRange(150, 1, true, false).ok());
  EXPECT_TRUE(b->LockRange(120, 1, true, false).IsLockBusy());
  EXPECT_TRUE(b->LockRange(180, 1, true, false).IsLockBusy());

  EXPECT_TRUE(a->LockRange(0, 0, true, false).IsInvalidArgument());
  a.reset();
  EXPECT_TRUE(b->LockRange(kNear31, 1, true, false).ok());
  EXPECT_TRUE(b->LockRange(100, 100, true, false).ok());
}

TEST_P(EnvTest, WaitingLockIsGrantedOnRelease) {
  ASSERT_TRUE(WriteWholeFile(*env_, P("w"), "", false).ok());
  auto a = OpenOk("w", OpenMode::kReadWrite);
  auto b = OpenOk("w", OpenMode::kReadWrite);
  ASSERT_TRUE(a->LockRange(10, 1, true, false).ok());
  Status waited;
  std::thread waiter([&] { waited = b->LockRange(10, 1, true, true); });
  ASSERT_TRUE(a->UnlockRange(10, 1).ok());
  waiter.join();
  EXPECT_TRUE(waited.ok()) << waited.ToString();
  EXPECT_TRUE(a->LockRange(10, 1, false, false).IsLockBusy());
}

QV_HOST_AND_MEMORY(EnvTest);

}  // namespace
}  // namespace qv::fs
