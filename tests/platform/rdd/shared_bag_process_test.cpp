// Two processes share a table and its structural bag: each appends and
// replaces under record locks in a seeded loop. When both are done, each
// walks every tag through the bag it kept open all along (its cached pages
// went stale with every change of the other, so the change counter must have
// sent it back to the file), and afterwards check finds every tag sound.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include <random>
#include <thread>

#include "process_util.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

constexpr int kChildren = 2;
constexpr int kRounds = 120;
constexpr int kTimeLimitSeconds = 120;  // a hung child is killed by its alarm

const OrderSpec kTags[] = {
    {"NAME", "UPPER(NAME)", "", false, false},
    {"AMOUNT", "AMOUNT", "", false, true},
    {"LIVE", "CODE+STR(AMOUNT,12,2)", "!DELETED()", false, false},
};

int ReadByte(int fd) {
  char c = 0;
  return read(fd, &c, 1) == 1 ? 0 : 1;
}

// Walks tag from the top: every record appears once (deleted ones too, except
// in LIVE) and the keys never go backwards.
int WalkTag(WorkArea& area, const OrderSpec& tag) {
  if (!SetFocus(area, tag.name).ok()) return 1;
  const uint32_t count = *area.RecCount();
  std::vector<bool> seen(count + 1, false);
  uint32_t walked = 0, deleted = 0;
  std::string prev;
  for (Status s = area.GoTop(); !area.Eof(); s = area.Skip(1)) {
    if (!s.ok() || area.RecNo() > count || seen[area.RecNo()]) return 2;
    seen[area.RecNo()] = true;
    auto key = area.order()->ShowKey(area.RecNo());
    if (!key.ok()) return 3;
    if (tag.name == "NAME" && !prev.empty() && *key < prev) return 4;
    prev = *key;
    ++walked;
  }
  for (uint32_t r = 1; r <= count; ++r) {
    if (!area.GoTo(r).ok()) return 5;
    deleted += area.Deleted() ? 1 : 0;
  }
  const uint32_t want = tag.for_text.empty() ? count : count - deleted;
  return walked == want ? 0 : 6;
}

int Worker(const std::string& path, int child, int done_fd, int go_fd) {
  alarm(kTimeLimitSeconds);
  auto env = fs::NewHostEnv();
  Workspace ws(*env);
  if (!ws.Use(UseArgs{path, "S", false, /*shared=*/true, false}).ok()) return 10;
  WorkArea& area = *ws.Area();
  if (area.table().structural_bag() == nullptr) return 11;
  std::mt19937 rng(static_cast<uint32_t>(2026 + child));
  static const char* kNames[] = {"smith", "Jones", "adams", "Zed", "ames", "lee"};
  for (int round = 0; round < kRounds; ++round) {
    const bool append = rng() % 3 != 0;
    if (append) {
      auto added = area.Append();
      while (added.ok() && !*added) {
        std::this_thread::yield();
        added = area.Append();
      }
      if (!added.ok()) return 12;
    } else {
      const uint32_t count = *area.RecCount();
      if (!area.GoTo(1 + rng() % count).ok()) return 13;
      auto granted = area.RLock();
      while (granted.ok() && !*granted) {
        std::this_thread::yield();
        granted = area.RLock();
      }
      if (!granted.ok()) return 14;
    }
    const std::string name = kNames[rng() % 6] + std::to_string(rng() % 50);
    if (!area.Put("CODE", rt::Value("P" + std::to_string(child))).ok()) return 15;
    if (!area.Put("NAME", rt::Value(name)).ok()) return 16;
    if (!area.Put("AMOUNT", rt::Value::Num(static_cast<double>(rng() % 1000), 12, 2)).ok()) {
      return 17;
    }
    if (rng() % 5 == 0 && !(rng() % 2 ? area.Delete() : area.Recall()).ok()) return 18;
    if (!area.Unlock().ok()) return 19;
  }
  // Both sides have finished writing before either walks its tags.
  if (write(done_fd, "d", 1) != 1 || ReadByte(go_fd) != 0) return 20;
  for (const OrderSpec& tag : kTags) {
    if (int fault = WalkTag(area, tag); fault != 0) return 30 + fault;
  }
  return ws.CloseAll().ok() ? 0 : 21;
}

TEST(SharedBagProcessTest, TwoWritersKeepEveryTagWhole) {
  qv::testing::TempDir dir;
  auto env = fs::NewHostEnv();
  const std::string path = dir.Sub("shared.dbf");
  ASSERT_TRUE(Table::Create(*env, path, testutil::CustFields(), true, testutil::kToday).ok());
  {
    Workspace ws(*env);
    ASSERT_TRUE(ws.Use(UseArgs{path, "S", false, false, false}).ok());
    ASSERT_TRUE(*ws.Area()->Append());
    ASSERT_TRUE(ws.Area()->Put("NAME", rt::Value("first")).ok());
    for (const OrderSpec& tag : kTags) {
      ASSERT_TRUE(OrderCreate(*ws.Area(), dir.Sub("shared.cdx"), tag, nullptr).ok());
    }
    ASSERT_TRUE(ws.CloseAll().ok());
  }
  int done[2], go[2];
  ASSERT_EQ(pipe(done), 0);
  ASSERT_EQ(pipe(go), 0);
  std::vector<pid_t> pids;
  for (int child = 0; child < kChildren; ++child) {
    pids.push_back(testutil::Spawn([&, child] {
      close(done[0]);
      close(go[1]);
      return Worker(path, child, done[1], go[0]);
    }));
  }
  close(done[1]);
  close(go[0]);
  int finished = 0;
  while (finished < kChildren) {
    pollfd p{done[0], POLLIN, 0};
    if (poll(&p, 1, kTimeLimitSeconds * 1000) <= 0 || ReadByte(done[0]) != 0) break;
    ++finished;
  }
  EXPECT_EQ(finished, kChildren);
  for (int child = 0; child < kChildren; ++child) EXPECT_EQ(write(go[1], "g", 1), 1);
  close(go[1]);
  for (pid_t pid : pids) EXPECT_EQ(testutil::Wait(pid), 0);
  close(done[0]);

  const BagOpener opener = CdxBagOpener();
  std::vector<std::string> faults;
  ASSERT_TRUE(CheckTable(*env, path, &opener, &faults).ok());
  EXPECT_TRUE(faults.empty()) << faults.front();
  Workspace ws(*env);
  ASSERT_TRUE(ws.Use(UseArgs{path, "S", false, false, true}).ok());
  EXPECT_GT(*ws.Area()->RecCount(), static_cast<uint32_t>(kRounds));
  for (const OrderSpec& tag : kTags) EXPECT_EQ(WalkTag(*ws.Area(), tag), 0) << tag.name;
}

}  // namespace
}  // namespace qv::rdd
