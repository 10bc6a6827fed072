// Single-key maintenance: seeded random inserts and deletes against a
// std::multiset model, with every page checked and freed pages reused; seeks
// with the soft and last rules in both directions.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "testing/testing.h"

namespace qv::rdd::cdx {
namespace {

using Model = std::multiset<std::pair<std::string, uint32_t>>;

class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override { env_ = fs::NewMemEnv(); }

  // A bag with one empty tag T.
  Tag* MakeTag(KeyType type, uint16_t key_len, bool unique = false, bool descending = false) {
    auto bag = Bag::Create(*env_, "/t.cdx");
    EXPECT_TRUE(bag.ok());
    bag_ = std::move(bag).value();
    TagSpec spec{"T", "K", "", unique, descending, type, key_len};
    EXPECT_TRUE(bag_->AddTag(spec, KeyList(key_len)).ok());
    return *bag_->OpenTag(0, type);
  }

  void ExpectMatches(Tag& tag, const Model& model) {
    uint64_t count = 0;
    Status s = bag_->CheckTag(0, tag.type(), &count);
    ASSERT_TRUE(s.ok()) << s.ToString();
    ASSERT_TRUE(bag_->CheckDirectory().ok());
    ASSERT_EQ(count, model.size());
    std::vector<testing::Entry> want;
    for (const auto& [key, recno] : model) want.push_back({key, recno});
    ASSERT_EQ(testing::ReadAll(tag), want);
  }

  std::unique_ptr<fs::Env> env_;
  std::unique_ptr<Bag> bag_;
};

struct RandomCase {
  KeyType type;
  uint16_t key_len;
  int rounds;
  unsigned seed;
};

class TreeRandomTest : public TreeTest, public ::testing::WithParamInterface<RandomCase> {};

std::string RandomKey(std::mt19937& rng, KeyType type, size_t key_len) {
  if (type == KeyType::kNumeric) return EncodeNumber(static_cast<double>(rng() % 1000) - 500);
  std::string text(rng() % 4, static_cast<char>('A' + rng() % 4));
  text += std::to_string(rng() % 300);
  return EncodeChar(text, key_len);
}

// Grows the tree to several levels, then shrinks it to nothing and grows it
// again, comparing with the model after every round.
TEST_P(TreeRandomTest, MatchesAMultisetModel) {
  const RandomCase c = GetParam();
  Tag* tag = MakeTag(c.type, c.key_len);
  std::mt19937 rng(c.seed);
  Model model;
  std::vector<std::pair<std::string, uint32_t>> live;
  uint32_t next_recno = 1;
  for (int round = 0; round < c.rounds; ++round) {
    const bool shrinking = round % 4 == 2;
    for (int step = 0; step < 400; ++step) {
      const bool insert = live.empty() || (shrinking ? rng() % 4 == 0 : rng() % 4 != 0);
      if (insert) {
        std::string key = RandomKey(rng, c.type, c.key_len);
        const uint32_t recno = next_recno++ * 37 % 1000003 + 1;
        ASSERT_TRUE(tag->Insert(key, recno).ok());
        model.emplace(key, recno);
        live.emplace_back(std::move(key), recno);
      } else {
        const size_t i = rng() % live.size();
        Status s = tag->Remove(live[i].first, live[i].second);
        ASSERT_TRUE(s.ok()) << s.ToString();
        model.erase(model.find(live[i]));
        live[i] = live.back();
        live.pop_back();
      }
    }
    ASSERT_TRUE(bag_->Flush(false).ok());
    SCOPED_TRACE("round " + std::to_string(round));
    ExpectMatches(*tag, model);
  }
  // Everything out: the root is an empty leaf again.
  for (const auto& entry : live) ASSERT_TRUE(tag->Remove(entry.first, entry.second).ok());
  ExpectMatches(*tag, Model());
  EXPECT_TRUE(tag->Remove(RandomKey(rng, c.type, c.key_len), 1).IsNotFound());
}

INSTANTIATE_TEST_SUITE_P(Shapes, TreeRandomTest,
                         ::testing::Values(RandomCase{KeyType::kChar, 10, 12, 1},
                                           RandomCase{KeyType::kNumeric, 8, 12, 2},
                                           RandomCase{KeyType::kChar, 120, 8, 3},
                                           RandomCase{KeyType::kChar, 240, 6, 4}));

TEST_F(TreeTest, FreedPagesAreReusedBeforeTheFileGrows) {
  Tag* tag = MakeTag(KeyType::kChar, 40);
  for (uint32_t r = 1; r <= 2000; ++r) {
    ASSERT_TRUE(tag->Insert(EncodeChar("K" + std::to_string(r * 7919 % 2000), 40), r).ok());
  }
  ASSERT_TRUE(bag_->Flush(false).ok());
  const uint64_t grown = bag_->pager().end();
  for (uint32_t r = 1; r <= 2000; ++r) {
    ASSERT_TRUE(tag->Remove(EncodeChar("K" + std::to_string(r * 7919 % 2000), 40), r).ok());
  }
  EXPECT_NE(bag_->pager().free_head(), 0u);
  for (uint32_t r = 1; r <= 2000; ++r) {  // the same growth again, in reused pages
    ASSERT_TRUE(tag->Insert(EncodeChar("K" + std::to_string(r * 7919 % 2000), 40), r).ok());
  }
  ASSERT_TRUE(bag_->Flush(false).ok());
  EXPECT_EQ(bag_->pager().end(), grown);
  uint64_t count = 0;
  EXPECT_TRUE(bag_->CheckTag(0, KeyType::kChar, &count).ok());
  EXPECT_EQ(count, 2000u);
}

TEST_F(TreeTest, UniqueTagKeepsTheFirstRecordOfAKey) {
  Tag* tag = MakeTag(KeyType::kChar, 4, true);
  ASSERT_TRUE(tag->Insert("AAAA", 5).ok());
  ASSERT_TRUE(tag->Insert("AAAA", 2).ok());
  ASSERT_TRUE(tag->Insert("BBBB", 3).ok());
  Model want{{"AAAA", 5}, {"BBBB", 3}};
  ExpectMatches(*tag, want);
}

// Keys 10, 20, 20, 30 (records 1..4): what a seek finds in each direction,
// with and without the last rule, for hits and misses.
TEST_F(TreeTest, SeekRulesInBothDirections) {
  struct Case {
    bool descending;
    double key;
    bool last;
    bool found;
    uint32_t recno;  // 0 = eof
  };
  const Case cases[] = {
      {false, 20, false, true, 2}, {false, 20, true, true, 3},   {false, 15, false, false, 2},
      {false, 15, true, false, 2}, {false, 35, false, false, 0}, {false, 5, false, false, 1},
      {true, 20, false, true, 3},  {true, 20, true, true, 2},    {true, 15, false, false, 1},
      {true, 15, true, false, 1},  {true, 35, false, false, 4},  {true, 5, false, false, 0},
  };
  for (bool descending : {false, true}) {
    Tag* tag = MakeTag(KeyType::kNumeric, 8, false, descending);
    const double keys[] = {10, 20, 20, 30};
    for (uint32_t r = 1; r <= 4; ++r) ASSERT_TRUE(tag->Insert(EncodeNumber(keys[r - 1]), r).ok());
    Cursor cursor(*tag);
    for (const Case& c : cases) {
      if (c.descending != descending) continue;
      SCOPED_TRACE(std::to_string(c.key) + (c.descending ? " descending" : "") +
                   (c.last ? " last" : ""));
      auto found = cursor.Seek(EncodeNumber(c.key), c.last);
      ASSERT_TRUE(found.ok());
      EXPECT_EQ(*found, c.found);
      EXPECT_EQ(cursor.eof() ? 0u : cursor.recno(), c.recno);
    }
    // Walking off either end and back; to and fro across a page boundary
    // for longer than the file has pages is no cycle.
    for (uint32_t r = 5; r <= 400; ++r) ASSERT_TRUE(tag->Insert(EncodeNumber(40), r).ok());
    ASSERT_GT(bag_->pager().end() / kPageSize, 6u);  // several leaves
    const uint64_t flips = bag_->pager().end() / kPageSize + 2;
    ASSERT_TRUE(cursor.First().ok());
    while (!cursor.eof()) {
      for (uint64_t i = 0; i < flips; ++i) {
        ASSERT_TRUE(cursor.Next().ok());
        ASSERT_TRUE(cursor.Prev().ok());
      }
      ASSERT_TRUE(cursor.Next().ok());
    }
    for (uint32_t r = 5; r <= 400; ++r) ASSERT_TRUE(tag->Remove(EncodeNumber(40), r).ok());
    ASSERT_TRUE(cursor.Last().ok());
    ASSERT_TRUE(cursor.Next().ok());
    EXPECT_TRUE(cursor.eof());
    ASSERT_TRUE(cursor.Prev().ok());
    EXPECT_EQ(cursor.recno(), descending ? 1u : 4u);
    EXPECT_EQ(*cursor.Position(), 4u);
  }
}

TEST_F(TreeTest, PrefixSeekOnCharacterKeys) {
  Tag* tag = MakeTag(KeyType::kChar, 8);
  const char* names[] = {"ABLE", "BAKER", "BAKERY", "CHARLIE"};
  for (uint32_t r = 1; r <= 4; ++r) ASSERT_TRUE(tag->Insert(EncodeChar(names[r - 1], 8), r).ok());
  Cursor cursor(*tag);
  EXPECT_TRUE(*cursor.Seek("BAK"));
  EXPECT_EQ(cursor.recno(), 2u);
  EXPECT_TRUE(*cursor.Seek("BAK", true));
  EXPECT_EQ(cursor.recno(), 3u);
  EXPECT_FALSE(*cursor.Seek("BB"));
  EXPECT_EQ(cursor.recno(), 4u);

  // A replace that changes a key moves the record.
  ASSERT_TRUE(tag->Update(EncodeChar("ABLE", 8), EncodeChar("DELTA", 8), 1).ok());
  ASSERT_TRUE(cursor.Last().ok());
  EXPECT_EQ(cursor.recno(), 1u);
  EXPECT_FALSE(*cursor.Seek("ABLE"));
}

}  // namespace
}  // namespace qv::rdd::cdx
