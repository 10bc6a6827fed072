// Every tag of every reference bag navigated through a work area: top to
// bottom and back, with deleted records shown and hidden, keys as the tools
// print them, key positions, and seeks that land on the truth's records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

std::vector<uint32_t> Walk(WorkArea& area, bool forward) {
  std::vector<uint32_t> recnos;
  EXPECT_TRUE((forward ? area.GoTop() : area.GoBottom()).ok());
  while (!area.Eof() && recnos.size() <= 100000) {  // a cycle would never end
    recnos.push_back(area.RecNo());
    EXPECT_TRUE(area.Skip(forward ? 1 : -1).ok());
    if (area.Bof()) break;
  }
  return recnos;
}

std::vector<uint32_t> Recnos(const json::Json& list) {
  std::vector<uint32_t> out;
  for (const json::Json& r : list.items()) out.push_back(static_cast<uint32_t>(r.number()));
  return out;
}

// Whether shown (a key as the tools print it) is the truth's key.
bool SameKey(const json::Json& tag, const std::string& shown, const json::Json& key) {
  const std::string type = tag["key_type"].str();
  if (type == "L") return shown == (key.boolean() ? "T" : "F");
  if (type == "N") {
    const double want = key.number();
    return std::fabs(std::strtod(shown.c_str(), nullptr) - want) <=
           1e-9 * std::max(1.0, std::fabs(want));
  }
  return shown == key.str();
}

class OrderFixtureTest : public ::testing::TestWithParam<const char*> {};

TEST_P(OrderFixtureTest, EveryTagNavigatesInItsTruthOrder) {
  QV_REQUIRE_SHARED();
  qv::testing::TempDir dir;
  const std::string table = GetParam();
  testutil::CopyTable(table, dir.path());
  if (table == "cust") qv::testing::CopyFixture("xbase/custx.cdx", dir.path());
  const json::Json truth = testutil::Truth(table);
  auto env = fs::NewHostEnv();
  Workspace ws(*env);
  ASSERT_TRUE(ws.Use(UseArgs{dir.Sub(table + ".dbf"), "", false, true, true}).ok());
  WorkArea& area = *ws.Area();
  EXPECT_EQ(IndexOrd(area), 0);  // the structural bag opens without focus
  for (const json::Json& bag : truth["bags"].items()) {
    ASSERT_TRUE(OrderListAdd(area, dir.Sub(bag["file"].str())).ok());
    for (const json::Json& tag : bag["tags"].items()) {
      SCOPED_TRACE(table + " " + tag["name"].str());
      ASSERT_TRUE(SetFocus(area, tag["name"].str()).ok());
      EXPECT_EQ(area.order()->KeyText(), tag["key"].str());
      EXPECT_EQ(OrderBagName(area).size(), dir.Sub(bag["file"].str()).size());
      for (bool hide : {false, true}) {
        ws.settings().deleted = hide;
        const std::vector<uint32_t> want =
            Recnos(tag[hide ? "order_deleted_on" : "order_deleted_off"]);
        EXPECT_EQ(Walk(area, true), want) << "deleted " << hide;
        std::vector<uint32_t> back = Walk(area, false);
        std::reverse(back.begin(), back.end());
        EXPECT_EQ(back, want) << "backwards, deleted " << hide;
      }
      ws.settings().deleted = false;
      const json::Json& keys = tag["keys_deleted_off"];
      const std::vector<uint32_t> order = Recnos(tag["order_deleted_off"]);
      for (size_t i = 0; i < order.size(); i += std::max<size_t>(1, order.size() / 40)) {
        ASSERT_TRUE(area.GoTo(order[i]).ok());
        EXPECT_TRUE(SameKey(tag, *area.order()->ShowKey(order[i]), keys[i])) << "record " << order[i];
        auto position = KeyPosition(area);
        ASSERT_TRUE(position.ok());
        // Equal keys may list their records in either order.
        EXPECT_TRUE(SameKey(tag, *area.order()->ShowKey(order[*position - 1]), keys[i]));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OrderFixtureTest,
                         ::testing::Values("cust", "one", "empty", "big", "packed", "zapped"));

TEST(OrderFixtureSeek, SeeksFollowTheTruth) {
  QV_REQUIRE_SHARED();
  qv::testing::TempDir dir;
  testutil::CopyTable("cust", dir.path());
  auto env = fs::NewHostEnv();
  Workspace ws(*env);
  ASSERT_TRUE(ws.Use(UseArgs{dir.Sub("cust.dbf"), "", false, true, true}).ok());
  WorkArea& area = *ws.Area();
  EXPECT_EQ(area.Seek(rt::Value("A001"), false).code(), StatusCode::kNotSupported);
  ASSERT_TRUE(SetFocus(area, "UCODE").ok());
  // UCODE keeps the first A001, which is deleted: hidden, the seek fails.
  ASSERT_TRUE(area.Seek(rt::Value("A001"), false).ok());
  EXPECT_TRUE(area.Found());
  ws.settings().deleted = true;
  ASSERT_TRUE(area.Seek(rt::Value("A001"), false).ok());
  EXPECT_FALSE(area.Found());
  EXPECT_TRUE(area.Eof());
  ws.settings().deleted = false;

  ASSERT_TRUE(SetFocus(area, "CODE").ok());
  ASSERT_TRUE(area.Seek(rt::Value("A00"), false).ok());  // a prefix finds
  EXPECT_TRUE(area.Found());
  const uint32_t first = area.RecNo();
  ASSERT_TRUE(area.Seek(rt::Value("A00"), false, true).ok());  // the last-key rule
  EXPECT_TRUE(area.Found());
  EXPECT_GE(area.RecNo(), 1u);
  auto first_pos = area.order()->KeyNo(first);
  auto last_pos = area.order()->KeyNo(area.RecNo());
  ASSERT_TRUE(first_pos.ok() && last_pos.ok());
  EXPECT_LT(*first_pos, *last_pos);
  ASSERT_TRUE(area.Seek(rt::Value(std::string(6, '\xff')), true).ok());  // past every key
  EXPECT_FALSE(area.Found());
  EXPECT_TRUE(area.Eof());
  ASSERT_TRUE(area.Seek(rt::Value("A0015"), true).ok());  // soft: the next key
  EXPECT_FALSE(area.Found());
  EXPECT_FALSE(area.Eof());
  EXPECT_GT(area.Get("CODE")->str(), std::string("A0015"));

  ASSERT_TRUE(SetFocus(area, "AMOUNT").ok());
  EXPECT_EQ(area.Seek(rt::Value("x"), false).code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(SetFocus(area, "NOSUCH").code(), StatusCode::kNotFound);
  EXPECT_EQ(SetFocus(area, 99).code(), StatusCode::kNotFound);
  ASSERT_TRUE(SetFocus(area, 0).ok());
  EXPECT_EQ(IndexOrd(area), 0);
}

}  // namespace
}  // namespace qv::rdd
