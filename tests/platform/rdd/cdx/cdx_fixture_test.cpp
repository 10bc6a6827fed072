// Every tag of every reference bag read back in its truth order, with
// deleted records shown and hidden; seeks and key positions on the same data.
#include <gtest/gtest.h>

#include <cmath>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::rdd::cdx {
namespace {

using testing::Entry;

class FixtureBagTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    QV_REQUIRE_SHARED();
    env_ = fs::NewHostEnv();
    truth_ = &testing::LoadTruth(GetParam());
    dbf_ = qv::testing::CopyFixture(std::string("xbase/") + GetParam() + ".dbf", dir_.path());
  }

  std::unique_ptr<Bag> OpenBag(const std::string& file) {
    const std::string path = qv::testing::CopyFixture("xbase/" + file, dir_.path());
    auto bag = Bag::Open(*env_, path, BagOptions{false, true});
    EXPECT_TRUE(bag.ok()) << bag.status().ToString();
    return bag.ok() ? std::move(bag).value() : nullptr;
  }

  qv::testing::TempDir dir_;
  std::unique_ptr<fs::Env> env_;
  const json::Json* truth_ = nullptr;
  std::string dbf_;
};

bool SameKey(KeyType type, std::string_view ours, const std::string& expected_bytes,
             const json::Json& expected) {
  if (type != KeyType::kNumeric) return ours == expected_bytes;
  const double want = expected.number();
  return std::fabs(DecodeNumber(ours) - want) <= 1e-9 * std::max(1.0, std::fabs(want));
}

TEST_P(FixtureBagTest, EveryTagGivesItsTruthOrderAndKeys) {
  const std::vector<bool> deleted = testing::DeletedFlags(dbf_);
  for (const json::Json& bag_truth : (*truth_)["bags"].items()) {
    SCOPED_TRACE(bag_truth["file"].str());
    auto bag = OpenBag(bag_truth["file"].str());
    ASSERT_NE(bag, nullptr);
    ASSERT_EQ(bag->tag_count(), bag_truth["tags"].size());
    ASSERT_TRUE(bag->CheckDirectory().ok());
    for (size_t t = 0; t < bag->tag_count(); ++t) {
      const json::Json& tt = bag_truth["tags"][t];
      const TagInfo& info = bag->tag_info(t);
      SCOPED_TRACE(info.name);
      EXPECT_EQ(info.name, tt["name"].str());
      EXPECT_EQ(info.key_expr, tt["key"].str());
      EXPECT_EQ(info.for_expr, tt["for"].str());
      EXPECT_EQ(info.unique, tt["unique"].boolean());
      EXPECT_EQ(info.descending, tt["descending"].boolean());
      EXPECT_EQ(info.key_len, tt["key_size"].number());
      const KeyType type = testing::TypeFromLetter(tt["key_type"].str());
      auto tag = bag->OpenTag(t, type);
      ASSERT_TRUE(tag.ok());
      const std::vector<Entry> entries = testing::ReadAll(**tag);
      const auto& order = tt["order_deleted_off"].items();
      const auto& keys = tt["keys_deleted_off"].items();
      ASSERT_EQ(entries.size(), order.size());
      std::vector<uint32_t> shown;
      for (size_t i = 0; i < entries.size(); ++i) {
        ASSERT_EQ(entries[i].recno, order[i].number()) << "entry " << i;
        const std::string want = testing::TruthKey(keys[i], type, info.key_len);
        ASSERT_TRUE(SameKey(type, entries[i].key, want, keys[i]))
            << "entry " << i << ": " << FormatKey(type, entries[i].key);
        if (!deleted[entries[i].recno - 1]) shown.push_back(entries[i].recno);
      }
      std::vector<uint32_t> want_shown;
      for (const json::Json& r : tt["order_deleted_on"].items()) {
        want_shown.push_back(static_cast<uint32_t>(r.number()));
      }
      EXPECT_EQ(shown, want_shown);
      uint64_t count = 0;
      EXPECT_TRUE(bag->CheckTag(t, type, &count).ok());
      EXPECT_EQ(count, tt["key_count"].number());
    }
  }
}

// Each distinct key is found at its first entry in the tag's order (its last
// with the last flag), and the key position counts entries in that order.
TEST_P(FixtureBagTest, SeeksFindEveryKeyAndPositionsCount) {
  for (const json::Json& bag_truth : (*truth_)["bags"].items()) {
    auto bag = OpenBag(bag_truth["file"].str());
    ASSERT_NE(bag, nullptr);
    for (size_t t = 0; t < bag->tag_count(); ++t) {
      SCOPED_TRACE(bag->tag_info(t).name);
      const KeyType type = testing::TypeFromLetter(bag_truth["tags"][t]["key_type"].str());
      auto tag = bag->OpenTag(t, type);
      ASSERT_TRUE(tag.ok());
      const std::vector<Entry> entries = testing::ReadAll(**tag);
      Cursor cursor(**tag);
      const size_t stride = std::max<size_t>(1, entries.size() / 200);
      for (size_t i = 0; i < entries.size(); i += stride) {
        const std::string& key = entries[i].key;
        size_t first = i;
        while (first > 0 && entries[first - 1].key == key) --first;
        size_t last = i;
        while (last + 1 < entries.size() && entries[last + 1].key == key) ++last;
        auto found = cursor.Seek(key);
        ASSERT_TRUE(found.ok() && *found) << "entry " << i;
        EXPECT_EQ(cursor.recno(), entries[first].recno);
        auto pos = cursor.Position();
        ASSERT_TRUE(pos.ok());
        EXPECT_EQ(*pos, first + 1);
        found = cursor.Seek(key, true);
        ASSERT_TRUE(found.ok() && *found);
        EXPECT_EQ(cursor.recno(), entries[last].recno);
        EXPECT_EQ(*cursor.Position(), last + 1);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllTables, FixtureBagTest,
                         ::testing::Values("one", "empty", "zapped", "cust", "memos", "packed",
                                           "big"));

}  // namespace
}  // namespace qv::rdd::cdx
