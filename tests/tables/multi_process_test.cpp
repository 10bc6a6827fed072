// Two workstations as two processes on one data folder: semaphores and file
// locks keep them apart, nothing either writes is lost, and a refused open
// leaves the lock report. Every wait is bounded; the seeds are fixed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tables/tables_fixture.h"

namespace qv::tables {
namespace {

using rt::Value;
using testing::MakeTable;
using testing::Workstation;

constexpr auto kBound = std::chrono::seconds(60);

pid_t Spawn(const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    std::string bin = QV_WORKSTATION_BIN;
    argv.push_back(bin.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(bin.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

// The exit code, or -1 when the process did not end in time (it is killed).
int Wait(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + kBound;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits (bounded) for a file another process writes.
bool Appears(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + kBound;
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class MultiProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Workstation setup(dir.path());
    MakeTable(setup, "1.co\\ledger", {{"TERM", 'C', 2}, {"ROUND", 'N', 5}, {"TOTAL", 'N', 8}},
              {{Value(""), Value::Int(0), Value::Int(0)}});
  }
  std::vector<std::string> Semaphores() {
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.Sub("data/1.co"))) {
      const std::string name = e.path().filename().string();
      if (name.rfind("LEDGER.", 0) == 0) left.push_back(name);
    }
    return left;
  }
  // Rows per workstation and record 1's TOTAL, read after the processes ended.
  struct Counts {
    int rows1 = 0;
    int rows2 = 0;
    int total = -1;
  };
  Counts Ledger() {
    Counts c;
    Workstation reader(dir.path(), "9");
    rdd::UseArgs use;
    use.file = "1.co\\ledger";
    if (!reader.ws().Use(use).ok()) return c;
    rdd::WorkArea* area = reader.ws().Area();
    if (!area->GoTo(1).ok()) return c;
    c.total = static_cast<int>(area->Get("TOTAL")->num());
    for (Status s = area->GoTop(); s.ok() && !area->Eof(); s = area->Skip(1)) {
      const std::string term = area->Get("TERM")->str();
      c.rows1 += term == "1 ";
      c.rows2 += term == "2 ";
    }
    return c;
  }

  qv::testing::TempDir dir;
};

TEST_F(MultiProcessTest, TwoWorkstationsPostWithoutLosingAnything) {
  const pid_t one = Spawn({dir.path(), "1", "post", "11", "12"});
  const pid_t two = Spawn({dir.path(), "2", "post", "22", "12"});
  EXPECT_EQ(Wait(one), 0);
  EXPECT_EQ(Wait(two), 0);
  const Counts ledger = Ledger();
  EXPECT_EQ(ledger.rows1, 12);
  EXPECT_EQ(ledger.rows2, 12);
  EXPECT_EQ(ledger.total, 24) << "no increment was lost";
  EXPECT_TRUE(Semaphores().empty());
}

TEST_F(MultiProcessTest, SecondWaitsWhileTheFirstHoldsTheResource) {
  const pid_t holder = Spawn({dir.path(), "1", "hold", "L"});
  ASSERT_TRUE(Appears(dir.Sub("held.flag")));
  const pid_t poster = Spawn({dir.path(), "2", "post", "5", "1"});
  ASSERT_TRUE(Appears(dir.Sub("waiting2.flag")));
  EXPECT_EQ(Semaphores(), std::vector<std::string>{"LEDGER.1"}) << "only the holder's";
  qv::testing::WriteHostFile(dir.Sub("release.flag"), "x");
  EXPECT_EQ(Wait(holder), 0);
  EXPECT_EQ(Wait(poster), 0);
  EXPECT_EQ(Ledger().rows2, 1);
  EXPECT_EQ(Ledger().total, 1);
  EXPECT_TRUE(Semaphores().empty());
  EXPECT_NE(qv::testing::ReadHostFile(dir.Sub("ws2.log")).find("Temporarily Locked: LEDGER    1"),
            std::string::npos);
}

TEST_F(MultiProcessTest, StaleSemaphoreOfAStoppedWorkstationIsCleanedUp) {
  const pid_t holder = Spawn({dir.path(), "1", "hold", "L"});
  ASSERT_TRUE(Appears(dir.Sub("held.flag")));
  kill(holder, SIGKILL);  // the workstation stops; its semaphore stays, its locks go
  EXPECT_EQ(Wait(holder), -1);
  ASSERT_EQ(Semaphores(), std::vector<std::string>{"LEDGER.1"});
  const pid_t poster = Spawn({dir.path(), "2", "post", "3", "1"});
  EXPECT_EQ(Wait(poster), 0);
  EXPECT_EQ(Ledger().rows2, 1);
  EXPECT_TRUE(Semaphores().empty());
  const std::string log = qv::testing::ReadHostFile(dir.Sub("ws2.log"));
  EXPECT_NE(log.find("Temporarily Locked: LEDGER   20"), std::string::npos);
  EXPECT_EQ(log.find("MSG\t"), std::string::npos) << "no question was needed";
}

TEST_F(MultiProcessTest, TableHeldExclusivelyElsewhereLeavesTheLockReport) {
  const pid_t holder = Spawn({dir.path(), "1", "hold", "E"});
  ASSERT_TRUE(Appears(dir.Sub("held.flag")));
  const pid_t opener = Spawn({dir.path(), "2", "open"});
  EXPECT_EQ(Wait(opener), 0) << "USIT reported the refusal";
  qv::testing::WriteHostFile(dir.Sub("release.flag"), "x");
  EXPECT_EQ(Wait(holder), 0);
  const std::string log = qv::testing::ReadHostFile(dir.Sub("data/lock.log"));
  EXPECT_EQ(log.rfind("LOCK required on LEDGER ...but can NOT be granted", 0), 0u) << log;
  EXPECT_NE(log.find("\r\nMULTI-USER Work Station 2\r\n"), std::string::npos) << log;
  EXPECT_NE(qv::testing::ReadHostFile(dir.Sub("ws2.log")).find("MSG\tLOCK required on LEDGER"),
            std::string::npos);
  EXPECT_TRUE(Semaphores().empty());
}

}  // namespace
}  // namespace qv::tables
