// Bulk-built tags: the same bytes the reference runtime wrote for the
// fixtures' bulk-built tags (but zeros where it signs its files), read back
// the same, and zap giving a fresh bag.
#include <gtest/gtest.h>

#include <random>

#include "cdx_test_util.h"
#include "platform/fs/env.h"
#include "platform/rdd/cdx/cdx_bytes.h"
#include "testing/testing.h"

namespace qv::rdd::cdx {
namespace {

// The fixture with the reference runtime's signature bytes zeroed.
std::string Unsigned(std::string bytes) {
  std::fill_n(bytes.begin() + kHdrWriterId, kHdrWriterIdSize, '\0');
  return bytes;
}

std::string Hex(const std::string& bytes, size_t from, size_t n) {
  std::string out;
  char buf[4];
  for (size_t i = from; i < std::min(bytes.size(), from + n); ++i) {
    std::snprintf(buf, sizeof buf, "%02x ", static_cast<uint8_t>(bytes[i]));
    out += buf;
  }
  return out;
}

// "" when equal, else where they first differ and the bytes around it.
std::string FirstDifference(const std::string& ours, const std::string& want) {
  const size_t n = std::min(ours.size(), want.size());
  size_t i = 0;
  while (i < n && ours[i] == want[i]) ++i;
  if (i == n && ours.size() == want.size()) return "";
  const size_t from = i < 8 ? 0 : i - 8;
  return "sizes " + std::to_string(ours.size()) + "/" + std::to_string(want.size()) +
         ", first difference at " + std::to_string(i) + "\nours: " + Hex(ours, from, 24) +
         "\nwant: " + Hex(want, from, 24);
}

TagSpec SpecFromTruth(const json::Json& t) {
  return TagSpec{t["name"].str(),
                 t["key"].str(),
                 t["for"].str(),
                 t["unique"].boolean(),
                 t["descending"].boolean(),
                 testing::TypeFromLetter(t["key_type"].str()),
                 static_cast<uint16_t>(t["key_size"].number())};
}

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { env_ = fs::NewHostEnv(); }
  qv::testing::TempDir dir_;
  std::unique_ptr<fs::Env> env_;
};

TEST_F(BuilderTest, StandaloneBagMatchesTheReferenceBytes) {
  QV_REQUIRE_SHARED();
  const json::Json& tag = testing::LoadTruth("cust")["bags"][1]["tags"][0];
  auto bag = Bag::Create(*env_, dir_.Sub("custx.cdx"));
  ASSERT_TRUE(bag.ok());
  ASSERT_TRUE((*bag)->AddTag(SpecFromTruth(tag), testing::TruthKeys(tag)).ok());
  bag->reset();
  const std::string want =
      Unsigned(qv::testing::ReadHostFile(qv::testing::SharedDir() + "/fixtures/xbase/custx.cdx"));
  EXPECT_EQ(FirstDifference(qv::testing::ReadHostFile(dir_.Sub("custx.cdx")), want), "");
}

// big.cdx holds a maintained DATE tag, then three tags built in bulk. Cut
// the file back to DATE alone and build the three again: every byte agrees.
TEST_F(BuilderTest, TagsAddedToABagMatchTheReferenceBytes) {
  QV_REQUIRE_SHARED();
  const json::Json& tags = testing::LoadTruth("big")["bags"][0]["tags"];
  const std::string want =
      Unsigned(qv::testing::ReadHostFile(qv::testing::SharedDir() + "/fixtures/xbase/big.cdx"));
  const uint32_t first_bulk = 274432;  // NAME's header
  std::string start = want.substr(0, first_bulk);
  auto* dir_page = reinterpret_cast<uint8_t*>(start.data() + kTagHeaderSize);
  Node dir;
  ASSERT_TRUE(DecodePage(dir_page, kDirectoryKeyLen, ' ', PageRef{}, &dir).ok());
  for (size_t i = dir.size(); i > 0; --i) {
    if (dir.recnos[i - 1] != 1536) dir.EraseEntry(i - 1);
  }
  ASSERT_EQ(dir.size(), 1u);
  ASSERT_TRUE(EncodeLeaf(dir, ' ', dir_page));
  // Maintaining DATE had left three pages free, which NAME's build reused
  // (its first leaves sit there); put them back on the free list.
  const uint32_t free_pages[] = {80896, 113664, 182272, 0};
  auto* bytes = reinterpret_cast<uint8_t*>(start.data());
  PutLe32(bytes + kHdrFreeList, free_pages[0]);
  for (int i = 0; i < 3; ++i) {
    std::fill_n(bytes + free_pages[i], kPageSize, 0);
    PutLe32(bytes + free_pages[i], free_pages[i + 1]);
  }
  qv::testing::WriteHostFile(dir_.Sub("big.cdx"), start);

  auto bag = Bag::Open(*env_, dir_.Sub("big.cdx"), BagOptions{});
  ASSERT_TRUE(bag.ok()) << bag.status().ToString();
  for (size_t t = 1; t < tags.size(); ++t) {
    ASSERT_TRUE((*bag)->AddTag(SpecFromTruth(tags[t]), testing::TruthKeys(tags[t])).ok());
  }
  bag->reset();
  EXPECT_EQ(FirstDifference(qv::testing::ReadHostFile(dir_.Sub("big.cdx")), want), "");
}

TEST_F(BuilderTest, ZapRewritesAFreshBagWithTheSameTags) {
  QV_REQUIRE_SHARED();
  // zapped.cdx is what the reference runtime's zap left.
  const std::string path = qv::testing::CopyFixture("xbase/zapped.cdx", dir_.path());
  auto bag = Bag::Open(*env_, path, BagOptions{});
  ASSERT_TRUE(bag.ok());
  ASSERT_TRUE((*bag)->Zap().ok());
  bag->reset();
  const std::string want =
      Unsigned(qv::testing::ReadHostFile(qv::testing::SharedDir() + "/fixtures/xbase/zapped.cdx"));
  EXPECT_EQ(FirstDifference(qv::testing::ReadHostFile(path), want), "");

  // A full bag loses every key but keeps its tags and their options.
  const std::string cust = qv::testing::CopyFixture("xbase/cust.cdx", dir_.path());
  bag = Bag::Open(*env_, cust, BagOptions{});
  ASSERT_TRUE(bag.ok());
  ASSERT_TRUE((*bag)->Zap().ok());
  bag = Bag::Open(*env_, cust, BagOptions{});
  ASSERT_TRUE(bag.ok());
  const json::Json& truth = testing::LoadTruth("cust")["bags"][0]["tags"];
  ASSERT_EQ((*bag)->tag_count(), truth.size());
  for (size_t t = 0; t < truth.size(); ++t) {
    EXPECT_EQ((*bag)->tag_info(t).name, truth[t]["name"].str());
    EXPECT_EQ((*bag)->tag_info(t).unique, truth[t]["unique"].boolean());
    EXPECT_EQ((*bag)->tag_info(t).for_expr, truth[t]["for"].str());
    uint64_t count = 1;
    EXPECT_TRUE((*bag)->CheckTag(t, KeyType::kChar, &count).ok());
    EXPECT_EQ(count, 0u);
  }
}

struct RoundTripCase {
  KeyType type;
  uint16_t key_len;
  size_t count;
  uint32_t max_recno;  // record numbers spread up to it; large ones widen leaf entries
  bool unique;
  bool descending;
};

class BuilderRoundTripTest : public BuilderTest,
                             public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(BuilderRoundTripTest, ReadsBackInOrderAndChecks) {
  const RoundTripCase c = GetParam();
  std::mt19937 rng(c.key_len * 7919 + static_cast<unsigned>(c.count));
  KeyList keys(c.key_len);
  for (size_t i = 0; i < c.count; ++i) {
    std::string key;
    switch (c.type) {
      case KeyType::kNumeric:
        key = EncodeNumber(static_cast<int>(rng() % 2000) - 1000.5);
        break;
      case KeyType::kLogical:
        key = EncodeLogical(rng() % 2);
        break;
      default:
        // Few distinct prefixes and many blanks: duplicate and trailing compression.
        key = std::string(rng() % 3, 'A' + static_cast<char>(rng() % 3));
        key += std::to_string(rng() % 500);
        key = EncodeChar(key, c.key_len);
    }
    keys.Add(key, 1 + static_cast<uint32_t>(i * (c.max_recno / std::max<size_t>(c.count, 1))));
  }
  // Built following a sort order over the unsorted keys; SortKeys gives
  // what must come back.
  const std::vector<uint32_t> order = SortOrder(keys);
  auto bag = Bag::Create(*env_, dir_.Sub("t.cdx"));
  ASSERT_TRUE(bag.ok());
  TagSpec spec{"T", "K", "", c.unique, c.descending, c.type, c.key_len};
  ASSERT_TRUE((*bag)->AddTag(spec, keys, &order).ok());
  SortKeys(&keys);
  bag = Bag::Open(*env_, dir_.Sub("t.cdx"), BagOptions{});
  ASSERT_TRUE(bag.ok());
  uint64_t count = 0;
  Status checked = (*bag)->CheckTag(0, c.type, &count);
  ASSERT_TRUE(checked.ok()) << checked.ToString();
  if (c.unique) KeepFirstOfEachKey(&keys);
  EXPECT_EQ(count, keys.size());
  auto tag = (*bag)->OpenTag(0, c.type);
  ASSERT_TRUE(tag.ok());
  std::vector<testing::Entry> want;
  for (size_t i = 0; i < keys.size(); ++i)
    want.push_back({std::string(keys.key(i)), keys.recnos[i]});
  if (c.descending) std::reverse(want.begin(), want.end());
  EXPECT_EQ(testing::ReadAll(**tag), want);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, BuilderRoundTripTest,
    ::testing::Values(RoundTripCase{KeyType::kChar, 10, 0, 10, false, false},
                      RoundTripCase{KeyType::kChar, 10, 5000, 5000, false, false},
                      RoundTripCase{KeyType::kChar, 30, 20000, 3000000, false, true},
                      RoundTripCase{KeyType::kChar, 240, 3000, 0xFFFFFFF0u, false, false},
                      RoundTripCase{KeyType::kChar, 1, 3000, 100, true, false},
                      RoundTripCase{KeyType::kNumeric, 8, 20000, 20000000, false, false},
                      RoundTripCase{KeyType::kLogical, 1, 4000, 4000, false, true}));

}  // namespace
}  // namespace qv::rdd::cdx
