// A child appends, replaces and packs a table with a structural bag, with a
// commit after each step, and reports each commit through a pipe; the test
// kills it at seeded random moments. After every kill the table opens
// exclusively, check finds it sound or names only the bag (a kill between
// the table write and the bag write) and a rebuild mends it, and every
// record committed before the kill is there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <random>
#include <thread>

#include "process_util.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

constexpr int kKills = 10;
constexpr int kMaxRecords = 100000;

std::string Note(int n, int version) {
  return "note " + std::to_string(n) + " v" + std::to_string(version) +
         std::string(static_cast<size_t>(n % 700), '.');
}

// Packs away what an earlier kill left deleted, then appends records numbered on from the last one,
// rewrites the memo of an earlier record, and every 25 steps appends a scratch record, deletes it
// and packs. Writes the number of each committed record to fd.
TableOpenOptions WithBags(TableOpenOptions options, const BagOpener* opener) {
  options.bag_opener = opener;
  return options;
}

int Writer(const std::string& path, int fd) {
  auto env = fs::NewHostEnv();
  const BagOpener opener = CdxBagOpener();
  auto table = Table::Open(*env, path, WithBags(testutil::Exclusive(), &opener));
  if (!table.ok()) return 10;
  EngineSettings settings;
  settings.deleted = true;
  WorkArea area(std::move(table).value(), "K", &settings);
  // A scratch record a kill left behind goes first, so record k holds number k.
  if (!Pack(area.table()).ok() || !area.GoTop().ok()) return 20;
  int n = static_cast<int>(*area.RecCount());
  for (int step = 0; n < kMaxRecords; ++step) {
    if (!*area.Append()) return 11;
    ++n;
    if (!area.Put("AMOUNT", rt::Value::Num(n, 12, 2)).ok()) return 16;
    if (!area.Put("NOTES", rt::Value(Note(n, 1))).ok()) return 17;
    if (n > 1) {
      if (!area.GoTo(static_cast<uint32_t>(n / 2)).ok()) return 18;
      if (!area.Put("NOTES", rt::Value(Note(n / 2, 2))).ok()) return 19;
    }
    if (step % 25 == 24) {
      if (!area.Append().ok()) return 15;
      (void)area.Put("CODE", rt::Value("SCRAP"));
      (void)area.Delete();
      if (!area.Flush().ok() || !Pack(area.table()).ok()) return 12;
    }
    if (!area.Commit().ok()) return 13;
    if (write(fd, &n, sizeof n) != sizeof n) return 14;
  }
  return 0;
}

TEST(RddKillTest, KilledWritersLeaveSoundTables) {
  qv::testing::TempDir dir;
  auto env = fs::NewHostEnv();
  const std::string path = dir.Sub("kill.dbf");
  ASSERT_TRUE(Table::Create(*env, path, testutil::CustFields(), true, testutil::kToday).ok());
  const BagOpener opener = CdxBagOpener();
  {
    EngineSettings settings;
    WorkArea area(testutil::MustOpen(*env, path, WithBags(testutil::Exclusive(), &opener)), "K",
                  &settings);
    for (const OrderSpec& spec : {OrderSpec{"AMOUNT", "AMOUNT", "", false, false},
                                  OrderSpec{"CODE", "UPPER(CODE)", "!DELETED()", false, true}}) {
      ASSERT_TRUE(OrderCreate(area, dir.Sub("kill.cdx"), spec, nullptr).ok());
    }
    ASSERT_TRUE(area.Close().ok());
  }
  std::mt19937 rng(4242);
  int mended = 0;
  int committed = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t pid = testutil::Spawn([&] {
      close(fds[0]);
      return Writer(path, fds[1]);
    });
    close(fds[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + rng() % 300));
    ::kill(pid, SIGKILL);
    testutil::Wait(pid);
    int n = 0;
    while (read(fds[0], &n, sizeof n) == sizeof n) committed = std::max(committed, n);
    close(fds[0]);

    auto table = Table::Open(*env, path, WithBags(testutil::Exclusive(), &opener));  // repairs
    ASSERT_TRUE(table.ok()) << table.status().ToString();
    ASSERT_NE((*table)->structural_bag(), nullptr);
    ASSERT_TRUE((*table)->Close().ok());
    std::vector<std::string> faults;
    ASSERT_TRUE(CheckTable(*env, path, &opener, &faults).ok());
    if (!faults.empty()) {
      for (const std::string& f : faults) {
        EXPECT_EQ(f.rfind(dir.Sub("kill.cdx"), 0), 0u) << "a fault outside the bag: " << f;
      }
      EngineSettings settings;
      WorkArea area(testutil::MustOpen(*env, path, WithBags(testutil::Exclusive(), &opener)), "K",
                    &settings);
      ASSERT_TRUE(OrderListRebuild(area).ok());
      ASSERT_TRUE(area.Close().ok());
      faults.clear();
      ASSERT_TRUE(CheckTable(*env, path, &opener, &faults).ok());
      EXPECT_TRUE(faults.empty()) << "after a rebuild: " << faults.front();
      ++mended;
    }

    EngineSettings settings;
    settings.deleted = true;
    WorkArea area(testutil::MustOpen(*env, path, testutil::Shared()), "K", &settings);
    int expect = 1;
    ASSERT_TRUE(area.GoTop().ok());
    while (!area.Eof()) {
      int amount = static_cast<int>(area.Get("AMOUNT")->num());
      if (amount > committed) break;  // written after the last report: may be there or not
      ASSERT_EQ(amount, expect) << "record " << area.RecNo();
      std::string note = area.Get("NOTES")->str();
      EXPECT_TRUE(note == Note(amount, 1) || note == Note(amount, 2)) << note.substr(0, 20);
      ++expect;
      ASSERT_TRUE(area.Skip(1).ok());
    }
    EXPECT_GT(expect, committed) << "committed records missing";
  }
  EXPECT_GT(committed, 0);
  std::printf("kills needing a rebuild: %d of %d\n", mended, kKills);
}

}  // namespace
}  // namespace qv::rdd
