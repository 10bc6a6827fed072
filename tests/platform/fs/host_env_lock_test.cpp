// Locks of the host Env seen from another process, as another workstation
// would hold them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::fs {
namespace {

TEST(HostEnvLockTest, LocksHeldByAnotherProcessAreSeen) {
  qv::testing::TempDir tmp;
  std::unique_ptr<Env> env = NewHostEnv();
  const std::string path = tmp.Sub("shared.dbf");
  const uint64_t kRecordLock = 1000000001;  // near 2^30, as record locks are placed
  ASSERT_TRUE(WriteWholeFile(*env, path, "data", true).ok());

  int held[2], release[2];
  ASSERT_EQ(pipe(held), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    alarm(30);  // never outlive a stuck parent
    close(held[0]);
    close(release[1]);
    auto f = env->Open(path, OpenMode::kReadWrite);
    bool ok = f.ok() && (*f)->LockRange(kRecordLock, 1, true, false).ok() &&
              (*f)->SetShareMode(ShareMode::kShared).ok();
    char c = ok ? 'y' : 'n';
    if (write(held[1], &c, 1) != 1) _exit(2);
    if (read(release[0], &c, 1) != 1) _exit(3);
    _exit(0);
  }
  close(held[1]);  // a child that dies early ends the read below
  close(release[0]);
  char c = 0;
  ASSERT_EQ(read(held[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');

  auto f = env->Open(path, OpenMode::kReadWrite);
  ASSERT_TRUE(f.ok());
  EXPECT_TRUE((*f)->LockRange(kRecordLock, 1, true, false).IsLockBusy());
  EXPECT_TRUE((*f)->LockRange(kRecordLock + 1, 1, true, false).ok());
  EXPECT_TRUE((*f)->SetShareMode(ShareMode::kExclusive).IsLockBusy());
  EXPECT_TRUE((*f)->SetShareMode(ShareMode::kShared).ok());

  ASSERT_EQ(write(release[1], "x", 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The child's exit closed its file: its locks are gone.
  EXPECT_TRUE((*f)->LockRange(kRecordLock, 1, true, false).ok());
  EXPECT_TRUE((*f)->SetShareMode(ShareMode::kExclusive).ok());
  close(held[0]);
  close(release[1]);
}

}  // namespace
}  // namespace qv::fs
