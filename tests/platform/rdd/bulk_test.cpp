// Zap, copy to a new table, append from another table by field name, copy
// structure (extended) and DBSTRUCT.
#include <gtest/gtest.h>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

class BulkTest : public ::testing::Test {
 protected:
  void SetUp() override { testutil::MakeTable(*env_, "/src.dbf", 6, 3); }  // 3 and 6 deleted
  std::unique_ptr<WorkArea> Area(const std::string& path, bool exclusive = true) {
    auto table = Table::Open(*env_, path, exclusive ? testutil::Exclusive() : testutil::Shared());
    EXPECT_TRUE(table.ok()) << table.status().ToString();
    return std::make_unique<WorkArea>(std::move(table).value(), "A", &settings_);
  }

  std::unique_ptr<fs::Env> env_ = fs::NewMemEnv();
  EngineSettings settings_;
};

TEST_F(BulkTest, CopyWritesTheVisibleRecordsAndTheirMemos) {
  settings_.deleted = true;
  auto src = Area("/src.dbf");
  WorkArea* a = src.get();
  a->SetFilter("AMOUNT < 5", [a] { return a->Get("AMOUNT")->num() < 5; });
  ASSERT_TRUE(CopyTo(*src, "/copy.dbf", {}).ok());
  EXPECT_TRUE(src->Eof());
  auto copy = Area("/copy.dbf");
  EXPECT_EQ(*copy->RecCount(), 3u);  // 1, 2, 4
  ASSERT_TRUE(copy->GoTo(1).ok());
  EXPECT_EQ(copy->Get("NOTES")->str(), "memo 1");
  ASSERT_TRUE(copy->GoTo(3).ok());
  EXPECT_EQ(copy->Get("CODE")->str(), "C00004");
  EXPECT_FALSE(copy->Deleted());

  ASSERT_TRUE(CopyTo(*src, "/named.dbf", {"amount", "code"}).ok());
  auto named = Area("/named.dbf");
  EXPECT_EQ(named->FieldCount(), 2);
  EXPECT_EQ(named->FieldName(1), "CODE");  // the table's order, not the list's
  EXPECT_FALSE(named->table().memo());
  EXPECT_EQ(named->table().header().version, kVersionDbase3);
  EXPECT_TRUE(CopyTo(*src, "/bad.dbf", {"NOPE"}).IsInvalidArgument());
}

TEST_F(BulkTest, AppendFromTakesFieldsByName) {
  // Target: NAME C10 (shorter), CODE N6 (other type), AMOUNT N12.2, NOTES M, EXTRA C3.
  ASSERT_TRUE(Table::Create(*env_, "/dst.dbf",
                            {{"EXTRA", 'C', 3, 0},
                             {"CODE", 'N', 6, 0},
                             {"AMOUNT", 'N', 12, 2},
                             {"NAME", 'C', 10, 0},
                             {"NOTES", 'M', 10, 0}},
                            false, testutil::kToday)
                  .ok());
  auto dst = Area("/dst.dbf");
  settings_.deleted = true;
  ASSERT_TRUE(AppendFrom(*dst, "/src.dbf", {}, settings_).ok());
  EXPECT_EQ(*dst->RecCount(), 4u);
  ASSERT_TRUE(dst->GoTo(3).ok());
  EXPECT_EQ(dst->Get("AMOUNT")->num(), 4);
  EXPECT_EQ(dst->Get("CODE")->num(), 0);  // C into N: left blank
  EXPECT_EQ(dst->Get("EXTRA")->str(), "   ");
  ASSERT_TRUE(dst->GoTo(4).ok());
  EXPECT_EQ(dst->Get("NOTES")->str(), "memo 5");
  // Named fields only; deleted setting off carries all six.
  settings_.deleted = false;
  ASSERT_TRUE(AppendFrom(*dst, "/src.dbf", {"amount"}, settings_).ok());
  EXPECT_EQ(*dst->RecCount(), 10u);
  ASSERT_TRUE(dst->GoTo(5).ok());
  EXPECT_EQ(dst->Get("NOTES")->str(), "");
  EXPECT_EQ(dst->Get("AMOUNT")->num(), 1);
}

TEST_F(BulkTest, StructureListings) {
  auto src = Area("/src.dbf");
  std::vector<FieldSpec> s = Structure(src->table());
  ASSERT_EQ(s.size(), 6u);
  EXPECT_EQ(s[2].name, "AMOUNT");
  EXPECT_EQ(s[2].type, 'N');
  EXPECT_EQ(s[2].length, 12);
  EXPECT_EQ(s[2].decimals, 2);

  ASSERT_TRUE(CopyStructure(src->table(), "/empty.dbf", {"CODE", "NOTES"}).ok());
  auto empty = Area("/empty.dbf");
  EXPECT_EQ(*empty->RecCount(), 0u);
  EXPECT_EQ(empty->FieldCount(), 2);
  EXPECT_EQ(empty->table().header().version, kVersionDbase3Memo);

  ASSERT_TRUE(CopyStructureExtended(src->table(), "/ext.dbf").ok());
  auto ext = Area("/ext.dbf");
  EXPECT_EQ(Structure(ext->table())[0].name, "FIELD_NAME");
  EXPECT_EQ(Structure(ext->table())[2].length, 3);
  EXPECT_EQ(*ext->RecCount(), 6u);
  ASSERT_TRUE(ext->GoTo(3).ok());
  EXPECT_EQ(ext->Get("FIELD_NAME")->str(), "AMOUNT    ");
  EXPECT_EQ(ext->Get("FIELD_TYPE")->str(), "N");
  EXPECT_EQ(ext->Get("FIELD_LEN")->num(), 12);
  EXPECT_EQ(ext->Get("FIELD_DEC")->num(), 2);
}

TEST_F(BulkTest, ZapNeedsExclusiveUseAndEmptiesTableAndMemo) {
  {
    auto shared = Area("/src.dbf", false);
    EXPECT_TRUE(shared->table().Zap().IsInvalidArgument());
  }
  auto src = Area("/src.dbf");
  ASSERT_TRUE(src->table().Zap().ok());
  ASSERT_TRUE(src->GoTop().ok());
  EXPECT_TRUE(src->Eof());
  ASSERT_TRUE(src->Close().ok());
  std::string dbf = *fs::ReadWholeFile(*env_, "/src.dbf");
  auto header = NewHeader(testutil::CustFields(), false);
  EXPECT_EQ(dbf.size(), header->header_length + 1);
  EXPECT_EQ(dbf[kDbfRecordCountOffset], 0);
  EXPECT_EQ(*fs::ReadWholeFile(*env_, "/src.dbt"), MemoFile::EmptyDbtHeader());
}

}  // namespace
}  // namespace qv::rdd
