// Damaged tables: clear Corruption naming file and offset, never a crash
// or a hang; a wrong header count is repaired on exclusive open and
// reported by check.
#include <gtest/gtest.h>

#include <random>

#include "platform/rdd/detail/bytes.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

class CorruptionTest : public ::testing::Test {
 protected:
  void SetUp() override { testutil::MakeTable(*env_, "/t.dbf", 5); }
  std::string Bytes(const std::string& p) { return *fs::ReadWholeFile(*env_, p); }
  void Put(const std::string& p, const std::string& b) {
    ASSERT_TRUE(fs::WriteWholeFile(*env_, p, b, false).ok());
  }
  std::vector<std::string> Check() {
    std::vector<std::string> faults;
    EXPECT_TRUE(CheckTable(*env_, "/t.dbf", nullptr, &faults).ok());
    return faults;
  }

  std::unique_ptr<fs::Env> env_ = fs::NewMemEnv();
};

TEST_F(CorruptionTest, ShortFileAndBadLengths) {
  std::string good = Bytes("/t.dbf");
  Put("/t.dbf", good.substr(0, 17));
  auto open = Table::Open(*env_, "/t.dbf", testutil::Shared());
  ASSERT_TRUE(open.status().IsCorruption());
  EXPECT_NE(open.status().ToString().find("/t.dbf"), std::string::npos);
  std::vector<std::string> faults = Check();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("short header"), std::string::npos);
}

TEST_F(CorruptionTest, MemoPointerPastTheEnd) {
  std::string bytes = Bytes("/t.dbf");
  auto h = NewHeader(testutil::CustFields(), false);
  const size_t field = h->header_length + h->fields[5].offset;  // record 1, NOTES
  bytes.replace(field, 10, "      9999");
  Put("/t.dbf", bytes);
  EngineSettings settings;
  WorkArea area(testutil::MustOpen(*env_, "/t.dbf", testutil::Shared()), "T", &settings);
  auto memo = area.Get("NOTES");
  ASSERT_TRUE(memo.status().IsCorruption());
  EXPECT_NE(memo.status().ToString().find("/t.dbt"), std::string::npos);
  EXPECT_NE(memo.status().ToString().find(std::to_string(9999u * 512)), std::string::npos);
  std::vector<std::string> faults = Check();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("record 1"), std::string::npos);
  EXPECT_NE(faults[0].find("memo block 9999"), std::string::npos);
}

TEST_F(CorruptionTest, MemoHeaderPastTheEnd) {
  std::string memo = Bytes("/t.dbt");
  detail::PutLe32(&memo, 0, 9999);
  Put("/t.dbt", memo);
  std::vector<std::string> faults = Check();
  ASSERT_FALSE(faults.empty());
  EXPECT_NE(faults[0].find("/t.dbt at offset 0: next free block 9999"), std::string::npos);
  // Unused bytes after the next free block (a save cut off) are no fault.
  detail::PutLe32(&memo, 0, static_cast<uint32_t>((memo.size() + 511) / 512));
  Put("/t.dbt", memo + "leftover");
  EXPECT_TRUE(Check().empty());
}

TEST_F(CorruptionTest, HeaderCountIsRepairedOnExclusiveOpen) {
  std::string bytes = Bytes("/t.dbf");
  detail::PutLe32(&bytes, kDbfRecordCountOffset, 99);
  bytes.pop_back();  // the 0x1A
  bytes += "torn!";  // and part of a record a crash left
  Put("/t.dbf", bytes);
  std::vector<std::string> faults = Check();
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_NE(faults[0].find("header record count 99, the file holds 5"), std::string::npos);
  EXPECT_NE(faults[1].find("5 bytes after the last record"), std::string::npos);
  {
    auto shared = Table::Open(*env_, "/t.dbf", testutil::Shared());
    ASSERT_TRUE(shared.ok());
    EXPECT_EQ(*(*shared)->RecordCount(), 5u);  // trusted from the size, not repaired
  }
  EXPECT_EQ(Check().size(), 2u);
  ASSERT_TRUE(Table::Open(*env_, "/t.dbf", testutil::Exclusive()).ok());
  EXPECT_TRUE(Check().empty());
  EXPECT_EQ(Bytes("/t.dbf").back(), '\x1A');
}

// Seeded byte flips in headers and records of every kind of file: whatever
// the engine answers, it answers without crashing or hanging.
TEST_F(CorruptionTest, RandomByteFlipsNeverCrash) {
  const std::string dbf = Bytes("/t.dbf");
  const std::string dbt = Bytes("/t.dbt");
  std::mt19937 rng(20261211);
  for (int round = 0; round < 300; ++round) {
    std::string d = dbf;
    std::string m = dbt;
    std::string& target = round % 3 == 0 ? m : d;
    for (int flips = 0; flips < 3; ++flips) {
      size_t at = rng() % std::min<size_t>(target.size(), round % 2 ? 200 : target.size());
      target[at] = static_cast<char>(rng());
    }
    Put("/t.dbf", d);
    Put("/t.dbt", m);
    auto table = Table::Open(*env_, "/t.dbf", testutil::Shared());
    if (!table.ok()) continue;
    EngineSettings settings;
    WorkArea area(std::move(table).value(), "T", &settings);
    for (Status s = area.GoTop(); s.ok() && !area.Eof(); s = area.Skip(1)) {
      for (int pos = 1; pos <= area.FieldCount(); ++pos) (void)area.Get(pos);
    }
    std::vector<std::string> faults;
    (void)area.Close();
    (void)CheckTable(*env_, "/t.dbf", nullptr, &faults);
  }
}

}  // namespace
}  // namespace qv::rdd
