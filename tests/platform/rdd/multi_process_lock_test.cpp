// Several processes append and replace in one shared table under the
// append, record and file locks; nothing is lost and no update is counted
// twice.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "process_util.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

constexpr int kChildren = 4;
constexpr int kRounds = 40;

// One child: kRounds times append a record of its own, then add 1 to the
// counter in record 1, under its record lock (odd rounds) or the file lock.
int Worker(const std::string& path, int child) {
  auto env = fs::NewHostEnv();
  Workspace ws(*env);
  UseArgs args;
  args.file = path;
  if (!ws.Use(args).ok()) return 10;
  WorkArea& area = *ws.Area();
  for (int round = 0; round < kRounds; ++round) {
    auto added = area.Append();
    while (added.ok() && !*added) {
      std::this_thread::yield();
      added = area.Append();
    }
    if (!added.ok()) return 11;
    if (!area.Put("CODE", rt::Value("P" + std::to_string(child))).ok()) return 12;
    if (!area.Put("AMOUNT", rt::Value::Num(round, 12, 2)).ok()) return 13;
    if (!area.Unlock().ok()) return 14;

    if (!area.GoTo(1).ok()) return 15;
    for (;;) {
      auto granted = round % 2 ? area.RLock() : area.FLock();
      if (!granted.ok()) return 16;
      if (*granted) break;
      std::this_thread::yield();
    }
    double counter = area.Get("AMOUNT")->num();
    if (!area.Put("AMOUNT", rt::Value::Num(counter + 1, 12, 2)).ok()) return 17;
    if (!area.Unlock().ok()) return 18;
  }
  return ws.CloseAll().ok() ? 0 : 19;
}

TEST(MultiProcessLockTest, ConcurrentAppendsAndReplacesLoseNothing) {
  qv::testing::TempDir dir;
  auto env = fs::NewHostEnv();
  const std::string path = dir.Sub("shared.dbf");
  testutil::MakeTable(*env, path, 1);
  {
    auto table = testutil::MustOpen(*env, path, testutil::Exclusive());
    EngineSettings settings;
    WorkArea area(std::move(table), "S", &settings);
    ASSERT_TRUE(area.Put("AMOUNT", rt::Value::Num(0, 12, 2)).ok());
  }
  std::vector<pid_t> pids;
  for (int child = 0; child < kChildren; ++child) {
    pids.push_back(testutil::Spawn([&, child] { return Worker(path, child); }));
  }
  for (pid_t pid : pids) EXPECT_EQ(testutil::Wait(pid), 0);

  EngineSettings settings;
  WorkArea area(testutil::MustOpen(*env, path, testutil::Exclusive()), "S", &settings);
  ASSERT_EQ(*area.RecCount(), 1u + kChildren * kRounds);
  EXPECT_EQ(area.Get("AMOUNT")->num(), kChildren * kRounds);
  std::set<std::pair<std::string, int>> seen;
  ASSERT_TRUE(area.Skip(1).ok());
  while (!area.Eof()) {
    seen.insert({area.Get("CODE")->str(), static_cast<int>(area.Get("AMOUNT")->num())});
    ASSERT_TRUE(area.Skip(1).ok());
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(kChildren * kRounds));
  std::vector<std::string> faults;
  ASSERT_TRUE(area.Close().ok());
  ASSERT_TRUE(CheckTable(*env, path, nullptr, &faults).ok());
  EXPECT_TRUE(faults.empty());
}

}  // namespace
}  // namespace qv::rdd
