// Pack under crashes: the Env fails the Nth write or sync and then drops
// every unsynced write; whatever N, the next open finds the old table or the
// packed one, each with its own memos, never a mix.
#include <gtest/gtest.h>

#include "platform/fs/fault_env.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

// What a table holds: one "code:memo" line per record, deleted ones marked.
std::string Contents(fs::Env& env) {
  auto table = Table::Open(env, "/t.dbf", testutil::Exclusive());
  if (!table.ok()) return "open failed: " + table.status().ToString();
  EngineSettings settings;
  WorkArea area(std::move(table).value(), "T", &settings);
  std::string out;
  for (Status s = area.GoTop(); !area.Eof(); s = area.Skip(1)) {
    if (!s.ok()) return s.ToString();
    auto memo = area.Get("NOTES");
    out += (area.Deleted() ? "*" : "") + area.Get("CODE")->str() + ":" +
           (memo.ok() ? memo->str() : memo.status().ToString()) + "\n";
  }
  return out;
}

TEST(PackCrashTest, EveryCrashPointLeavesOldOrNew) {
  auto base = fs::NewMemEnv();
  testutil::MakeTable(*base, "/t.dbf", 12, 4);
  const std::string old_contents = Contents(*base);
  std::string new_contents;
  {
    // The packed result, for comparison: the same table packed without faults.
    auto copy = fs::NewMemEnv();
    testutil::MakeTable(*copy, "/t.dbf", 12, 4);
    auto table = Table::Open(*copy, "/t.dbf", testutil::Exclusive());
    ASSERT_TRUE(Pack(**table).ok());
    ASSERT_TRUE((*table)->Close().ok());
    new_contents = Contents(*copy);
  }
  ASSERT_NE(old_contents, new_contents);
  int saw_old = 0;
  int saw_new = 0;
  for (int nth = 1; nth <= 40; ++nth) {
    for (bool fail_sync : {false, true}) {
      SCOPED_TRACE(std::string(fail_sync ? "sync " : "write ") + std::to_string(nth));
      auto target = fs::NewMemEnv();
      testutil::MakeTable(*target, "/t.dbf", 12, 4);
      {
        fs::FaultEnv faulty(target.get());
        auto table = Table::Open(faulty, "/t.dbf", testutil::Exclusive());
        ASSERT_TRUE(table.ok());
        if (fail_sync) {
          faulty.FailSync(nth, true);
        } else {
          faulty.FailWrite(nth, true);
        }
        (void)Pack(**table);
        ASSERT_TRUE(faulty.Crash().ok());
      }
      const std::string after = Contents(*target);
      EXPECT_TRUE(after == old_contents || after == new_contents) << after;
      saw_old += after == old_contents;
      saw_new += after == new_contents;
      std::vector<std::string> faults;
      ASSERT_TRUE(CheckTable(*target, "/t.dbf", nullptr, &faults).ok());
      EXPECT_TRUE(faults.empty()) << faults.front();
    }
  }
  EXPECT_GT(saw_old, 0);
  EXPECT_GT(saw_new, 0);
}

}  // namespace
}  // namespace qv::rdd
