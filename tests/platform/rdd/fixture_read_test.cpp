// Every fixture table reads exactly as its truth file says: structure,
// deletion flags and every value (C and N as stored text, L, D, memo text).
#include <gtest/gtest.h>

#include "platform/runtime/number.h"
#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

using testutil::CopyTable;
using testutil::Truth;

// The stored text of a field, as the truth files give C and N.
std::string StoredText(WorkArea& area, int pos) {
  const FieldInfo& f = area.table().fields()[static_cast<size_t>(pos - 1)];
  return std::string(area.RecordImage().substr(f.offset, f.length));
}

void ExpectMatchesTruth(const std::string& name) {
  qv::testing::TempDir dir;
  std::string path = CopyTable(name, dir.path());
  json::Json truth = Truth(name);
  auto env = fs::NewHostEnv();
  auto table = Table::Open(*env, path, testutil::Shared());
  ASSERT_TRUE(table.ok()) << table.status().ToString();

  const json::Json& header = truth["header"];
  EXPECT_EQ((*table)->header().version, header["version_byte"].number());
  EXPECT_EQ((*table)->header().header_length, header["header_len"].number());
  EXPECT_EQ((*table)->header().record_length, header["record_len"].number());
  EXPECT_EQ((*table)->header().flags, header["byte28_flags"].number());
  ASSERT_EQ((*table)->fields().size(), truth["fields"].size());
  for (size_t i = 0; i < truth["fields"].size(); ++i) {
    const json::Json& f = truth["fields"][i];
    const FieldInfo& got = (*table)->fields()[i];
    EXPECT_EQ(got.name, f["name"].str());
    EXPECT_EQ(std::string(1, static_cast<char>(got.type)), f["type"].str());
    EXPECT_EQ(got.length, f["len"].number());
    EXPECT_EQ(got.decimals, f["dec"].number());
  }

  EngineSettings settings;  // deleted off: every record is visible
  WorkArea area(std::move(table).value(), "T", &settings);
  ASSERT_EQ(*area.RecCount(), truth["records"].size());
  int mismatches = 0;
  for (const json::Json& r : truth["records"].items()) {
    ASSERT_TRUE(area.GoTo(static_cast<uint32_t>(r["recno"].number())).ok());
    EXPECT_EQ(area.Deleted(), r["deleted"].boolean()) << name << " record " << area.RecNo();
    for (int pos = 1; pos <= area.FieldCount(); ++pos) {
      const json::Json& want = r["values"][static_cast<size_t>(pos - 1)];
      auto got = area.Get(pos);
      ASSERT_TRUE(got.ok()) << got.status().ToString();
      bool same = false;
      switch (area.table().fields()[static_cast<size_t>(pos - 1)].type) {
        case FieldType::kCharacter:
        case FieldType::kNumeric:
          // Numbers: the value VAL() gives the stored text.
          same = StoredText(area, pos) == want.str() &&
                 (got->IsString() ? got->str() == want.str()
                                  : got->num() == rt::Val(want.str()).value);
          break;
        case FieldType::kLogical:
          same = got->logical() == want.boolean();
          break;
        case FieldType::kDate:
          same = (got->date().empty() ? std::string() : got->date().Dtos()) == want.str();
          break;
        case FieldType::kMemo:
          same = got->str() == want.str();
          break;
        default:
          break;
      }
      if (!same && ++mismatches < 5) {
        ADD_FAILURE() << name << " record " << area.RecNo() << " field " << area.FieldName(pos);
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(FixtureReadTest, EveryTableReadsAsItsTruthFile) {
  QV_REQUIRE_SHARED();
  for (const char* name : {"one", "empty", "zapped", "cust", "memos", "packed", "big"}) {
    SCOPED_TRACE(name);
    ExpectMatchesTruth(name);
  }
}

TEST(FixtureReadTest, NumbersCarryTheFieldWidthAndDecimals) {
  QV_REQUIRE_SHARED();
  qv::testing::TempDir dir;
  auto env = fs::NewHostEnv();
  auto table = Table::Open(*env, CopyTable("one", dir.path()), testutil::Shared());
  ASSERT_TRUE(table.ok());
  EngineSettings settings;
  WorkArea area(std::move(table).value(), "ONE", &settings);
  auto amount = area.Get("amount");  // names are case-insensitive
  ASSERT_TRUE(amount.ok());
  EXPECT_DOUBLE_EQ(amount->num(), 12.34);
  EXPECT_EQ(amount->number().width, 12);
  EXPECT_EQ(amount->number().decimals, 2);
  EXPECT_EQ(area.Get("BIRTH")->date(), rt::Date::FromYmd(2024, 1, 1));
  EXPECT_TRUE(area.Get("ACTIVE")->logical());
}

}  // namespace
}  // namespace qv::rdd
