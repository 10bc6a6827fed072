// Pack: deleted records and dead memo blocks go, live data stays, the
// result has the packed form, and interrupted swaps are finished or rolled
// back on the next open.
#include <gtest/gtest.h>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

TEST(PackTest, RemovesDeletedRecordsAndDeadMemoBlocks) {
  auto env = fs::NewMemEnv();
  testutil::MakeTable(*env, "/t.dbf", 9, 3);  // 3, 6, 9 deleted
  EngineSettings settings;
  {
    WorkArea area(testutil::MustOpen(*env, "/t.dbf", testutil::Exclusive()), "T", &settings);
    ASSERT_TRUE(area.GoTo(1).ok());
    ASSERT_TRUE(area.Put("NOTES", rt::Value("rewritten")).ok());  // leaves a dead block
    ASSERT_TRUE(area.Flush().ok());
    ASSERT_TRUE(Pack(area.table()).ok());
    EXPECT_EQ(*area.RecCount(), 6u);
    ASSERT_TRUE(area.GoTop().ok());
    EXPECT_EQ(area.Get("NOTES")->str(), "rewritten");
    ASSERT_TRUE(area.Close().ok());
  }
  std::string memo = *fs::ReadWholeFile(*env, "/t.dbt");
  // Live memos of records 1, 5, 7: one block each, one terminator, no gap
  // after the last.
  EXPECT_EQ(memo.size(), 3u * 512 + std::string("memo 7").size() + 1);
  EXPECT_EQ(memo[0], 4);  // next free block
  EXPECT_EQ(memo.substr(512, 10), "rewritten\x1A");
  EXPECT_EQ(memo[512 + 10], '\0');
  std::vector<std::string> faults;
  WorkArea area(testutil::MustOpen(*env, "/t.dbf", testutil::Shared()), "T", &settings);
  std::vector<std::string> codes;
  ASSERT_TRUE(area.GoTop().ok());
  while (!area.Eof()) {
    codes.push_back(area.Get("CODE")->str());
    EXPECT_FALSE(area.Deleted());
    ASSERT_TRUE(area.Skip(1).ok());
  }
  EXPECT_EQ(codes,
            (std::vector<std::string>{"C00001", "C00002", "C00004", "C00005", "C00007", "C00008"}));
  ASSERT_TRUE(area.Close().ok());
  ASSERT_TRUE(CheckTable(*env, "/t.dbf", nullptr, &faults).ok());
  EXPECT_TRUE(faults.empty()) << faults.front();
  EXPECT_FALSE(env->Stat("/t.dbf.pk-swap").ok());
  EXPECT_FALSE(env->Stat("/t.dbf.pk-new").ok());
}

// Found by the kill test: a second pack in the same session must replace
// the memo file under its own name, not under the first pack's new name.
TEST(PackTest, PackingTwiceKeepsMemosWithTheirTable) {
  auto env = fs::NewMemEnv();
  testutil::MakeTable(*env, "/t.dbf", 9, 3);
  EngineSettings settings;
  {
    WorkArea area(testutil::MustOpen(*env, "/t.dbf", testutil::Exclusive()), "T", &settings);
    ASSERT_TRUE(Pack(area.table()).ok());
    ASSERT_TRUE(area.GoTo(1).ok());
    ASSERT_TRUE(area.Delete().ok());
    ASSERT_TRUE(area.Flush().ok());
    ASSERT_TRUE(Pack(area.table()).ok());
    ASSERT_TRUE(area.Close().ok());
  }
  auto list = env->List("/");
  for (const fs::DirEntry& e : *list) EXPECT_EQ(e.name.find(".pk-"), std::string::npos) << e.name;
  WorkArea area(testutil::MustOpen(*env, "/t.dbf", testutil::Shared()), "T", &settings);
  EXPECT_EQ(*area.RecCount(), 5u);
  ASSERT_TRUE(area.GoTo(3).ok());  // record 5 of the original table
  EXPECT_EQ(area.Get("CODE")->str(), "C00005");
  EXPECT_EQ(area.Get("NOTES")->str(), "memo 5");
}

TEST(PackTest, NeedsExclusiveUse) {
  auto env = fs::NewMemEnv();
  testutil::MakeTable(*env, "/t.dbf", 2, 2);
  auto table = Table::Open(*env, "/t.dbf", testutil::Shared());
  EXPECT_TRUE(Pack(**table).IsInvalidArgument());
}

TEST(PackTest, PackedFixtureMatchesTheReferencePack) {
  QV_REQUIRE_SHARED();
  // packed.dbf is what the reference runtime's pack left; packing it again
  // (nothing deleted) must give the same records and the same memo layout.
  qv::testing::TempDir dir;
  std::string path = testutil::CopyTable("packed", dir.path());
  std::remove(dir.Sub("packed.cdx").c_str());  // no bag code in this test
  auto env = fs::NewHostEnv();
  std::string before = qv::testing::ReadHostFile(dir.Sub("packed.dbt"));
  auto table = Table::Open(*env, path, testutil::Exclusive());
  ASSERT_TRUE(table.ok());
  ASSERT_TRUE(Pack(**table).ok());
  ASSERT_TRUE((*table)->Close().ok());
  std::string after = qv::testing::ReadHostFile(dir.Sub("packed.dbt"));
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 4), before.substr(0, 4));
  EXPECT_EQ(after.substr(512), before.substr(512));
}

TEST(PackTest, BagOnDiskWithoutBagCodeIsRefused) {
  QV_REQUIRE_SHARED();
  qv::testing::TempDir dir;
  std::string path = testutil::CopyTable("packed", dir.path());
  auto env = fs::NewHostEnv();
  auto table = Table::Open(*env, path, testutil::Exclusive());
  EXPECT_EQ(Pack(**table).code(), StatusCode::kNotSupported);
}

class PackRecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testutil::MakeTable(*env_, "/t.dbf", 4, 2);  // old: 4 records
    testutil::MakeTable(*env_, "/n.dbf", 2);     // stands in for the packed files
    Move("/n.dbf", "/t.dbf.pk-new");
    Move("/n.dbt", "/t.dbt.pk-new");
  }
  void Move(const std::string& from, const std::string& to) {
    ASSERT_TRUE(env_->Rename(from, to).ok());
  }
  uint32_t CountAfterOpen() {
    auto table = Table::Open(*env_, "/t.dbf", testutil::Exclusive());
    EXPECT_TRUE(table.ok()) << table.status().ToString();
    return table.ok() ? (*table)->known_count() : 0;
  }
  void WriteList() {
    ASSERT_TRUE(fs::WriteWholeFile(*env_, "/t.dbf.pk-swap",
                                   "t.dbt.pk-new\tt.dbt\nt.dbf.pk-new\tt.dbf\nend\n", false)
                    .ok());
  }

  std::unique_ptr<fs::Env> env_ = fs::NewMemEnv();
};

TEST_F(PackRecoveryTest, NoListRollsBack) {
  EXPECT_EQ(CountAfterOpen(), 4u);
  EXPECT_FALSE(env_->Stat("/t.dbf.pk-new").ok());
  EXPECT_FALSE(env_->Stat("/t.dbt.pk-new").ok());
}

TEST_F(PackRecoveryTest, CompleteListRollsForward) {
  WriteList();
  EXPECT_EQ(CountAfterOpen(), 2u);
  EXPECT_FALSE(env_->Stat("/t.dbf.pk-swap").ok());
}

TEST_F(PackRecoveryTest, HalfDoneSwapIsFinished) {
  WriteList();
  Move("/t.dbt.pk-new", "/t.dbt");  // the memo was swapped, then the crash
  EXPECT_EQ(CountAfterOpen(), 2u);
  auto table = Table::Open(*env_, "/t.dbf", testutil::Exclusive());
  EngineSettings settings;
  WorkArea area(std::move(table).value(), "T", &settings);
  EXPECT_EQ(area.Get("NOTES")->str(), "memo 1");
}

TEST_F(PackRecoveryTest, ListIsLeftAloneWhileThePackerHoldsTheTable) {
  WriteList();
  auto packer = env_->Open("/t.dbf", fs::OpenMode::kReadWrite);
  ASSERT_TRUE((*packer)->SetShareMode(fs::ShareMode::kExclusive).ok());
  EXPECT_TRUE(RecoverInterruptedPack(*env_, "/t.dbf").ok());
  EXPECT_TRUE(env_->Stat("/t.dbf.pk-swap").ok());
  EXPECT_TRUE(env_->Stat("/t.dbf.pk-new").ok());
}

}  // namespace
}  // namespace qv::rdd
