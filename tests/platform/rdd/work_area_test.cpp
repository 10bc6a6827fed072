// Moves, visibility (deleted setting, filter), locate/continue, eval, and
// navigation through a controlling order.
#include <gtest/gtest.h>

#include <algorithm>

#include "rdd_test_util.h"

namespace qv::rdd {
namespace {

class WorkAreaTest : public ::testing::Test {
 protected:
  // 10 records, every 3rd deleted (3, 6, 9).
  void SetUp() override { testutil::MakeTable(*env_, "/t.dbf", 10, 3); }
  std::unique_ptr<WorkArea> Area() {
    auto table = Table::Open(*env_, "/t.dbf", testutil::Exclusive());
    EXPECT_TRUE(table.ok());
    return std::make_unique<WorkArea>(std::move(table).value(), "T", &settings_);
  }
  std::vector<uint32_t> Walk(WorkArea& area) {
    std::vector<uint32_t> seen;
    EXPECT_TRUE(area.GoTop().ok());
    while (!area.Eof()) {
      seen.push_back(area.RecNo());
      EXPECT_TRUE(area.Skip(1).ok());
    }
    return seen;
  }

  std::unique_ptr<fs::Env> env_ = fs::NewMemEnv();
  EngineSettings settings_;
};

TEST_F(WorkAreaTest, DeletedSettingHidesDeletedRecords) {
  auto area = Area();
  EXPECT_EQ(Walk(*area).size(), 10u);
  settings_.deleted = true;
  EXPECT_EQ(Walk(*area), (std::vector<uint32_t>{1, 2, 4, 5, 7, 8, 10}));
  EXPECT_EQ(*area->RecCount(), 10u);  // all records, deleted ones included
  ASSERT_TRUE(area->GoTo(3).ok());    // GOTO reaches a hidden record
  EXPECT_TRUE(area->Deleted());
  ASSERT_TRUE(area->Recall().ok());
  EXPECT_EQ(Walk(*area).size(), 8u);
}

TEST_F(WorkAreaTest, SkipStopsAtBothEnds) {
  settings_.deleted = true;
  auto area = Area();
  ASSERT_TRUE(area->GoBottom().ok());
  EXPECT_EQ(area->RecNo(), 10u);
  ASSERT_TRUE(area->Skip(1).ok());
  EXPECT_TRUE(area->Eof());
  EXPECT_EQ(area->RecNo(), 11u);  // the phantom record
  EXPECT_EQ(area->Get("CODE")->str(), "      ");
  ASSERT_TRUE(area->Skip(-1).ok());
  EXPECT_EQ(area->RecNo(), 10u);
  ASSERT_TRUE(area->Skip(-3).ok());
  EXPECT_EQ(area->RecNo(), 5u);  // 9 and 6 are hidden
  ASSERT_TRUE(area->Skip(-10).ok());
  EXPECT_TRUE(area->Bof());
  EXPECT_FALSE(area->Eof());
  EXPECT_EQ(area->RecNo(), 1u);
  ASSERT_TRUE(area->GoTo(99).ok());
  EXPECT_TRUE(area->Eof());
}

TEST_F(WorkAreaTest, EmptyTableIsBofAndEof) {
  ASSERT_TRUE(Table::Create(*env_, "/e.dbf", {{"A", 'C', 3, 0}}, false, testutil::kToday).ok());
  WorkArea area(testutil::MustOpen(*env_, "/e.dbf", testutil::Shared()), "E", &settings_);
  ASSERT_TRUE(area.GoTop().ok());
  EXPECT_TRUE(area.Eof());
  EXPECT_TRUE(area.Bof());
  EXPECT_EQ(area.RecNo(), 1u);
  ASSERT_TRUE(area.Skip(-1).ok());
  EXPECT_TRUE(area.Bof());
}

TEST_F(WorkAreaTest, FilterLocateContinueAndEval) {
  auto area = Area();
  WorkArea* a = area.get();
  a->SetFilter("AMOUNT > 4", [a] { return a->Get("AMOUNT")->num() > 4; });
  EXPECT_EQ(a->FilterText(), "AMOUNT > 4");
  EXPECT_EQ(Walk(*a), (std::vector<uint32_t>{5, 6, 7, 8, 9, 10}));

  ASSERT_TRUE(a->Locate([a] { return static_cast<int>(a->Get("AMOUNT")->num()) % 2 == 0; }).ok());
  EXPECT_TRUE(a->Found());
  EXPECT_EQ(a->RecNo(), 6u);
  ASSERT_TRUE(a->Continue().ok());
  EXPECT_EQ(a->RecNo(), 8u);
  ASSERT_TRUE(a->Continue().ok());
  ASSERT_TRUE(a->Continue().ok());
  EXPECT_FALSE(a->Found());
  EXPECT_TRUE(a->Eof());  // a locate that finds nothing leaves the area at the end

  double sum = 0;
  EvalScope scope;
  scope.for_cond = [a] { return !a->Deleted(); };
  ASSERT_TRUE(a->Eval(
                   [&] {
                     sum += a->Get("AMOUNT")->num();
                     return Status::OK();
                   },
                   scope)
                  .ok());
  EXPECT_EQ(sum, 5 + 7 + 8 + 10);
  a->ClearFilter();
  EXPECT_EQ(a->FilterText(), "");

  int visited = 0;
  EvalScope next_three;
  next_three.next = 3;
  ASSERT_TRUE(a->GoTo(4).ok());
  ASSERT_TRUE(a->Eval(
                   [&] {
                     ++visited;
                     return Status::OK();
                   },
                   next_three)
                  .ok());
  EXPECT_EQ(visited, 3);
  EXPECT_EQ(a->RecNo(), 7u);
  EvalScope until;
  until.while_cond = [a] { return a->Get("AMOUNT")->num() < 3; };
  visited = 0;
  ASSERT_TRUE(a->Eval(
                   [&] {
                     ++visited;
                     return Status::OK();
                   },
                   until)
                  .ok());
  EXPECT_EQ(visited, 2);
}

TEST_F(WorkAreaTest, FieldsByNameAndPosition) {
  auto area = Area();
  EXPECT_EQ(area->FieldCount(), 6);
  EXPECT_EQ(area->FieldName(1), "CODE");
  EXPECT_EQ(area->FieldName(7), "");
  EXPECT_EQ(area->FieldName(0), "");
  EXPECT_EQ(area->FieldPos("amount"), 3);
  EXPECT_EQ(area->FieldPos("nothing"), 0);
  std::string computed = std::string("NO") + "TES";
  EXPECT_EQ(area->Get(computed)->str(), "memo 1");
  EXPECT_TRUE(area->Get("nothing").status().IsInvalidArgument());
  EXPECT_TRUE(area->Put(9, rt::Value("x")).IsInvalidArgument());
}

// An order over the records in descending CODE, as the CDX code will give.
class ReverseOrder : public Order {
 public:
  explicit ReverseOrder(std::vector<uint32_t> recnos) : recnos_(std::move(recnos)) {}
  const std::string& Name() const override { return name_; }
  const std::string& KeyText() const override { return name_; }
  const std::string& ForText() const override { return empty_; }
  bool Descending() const override { return true; }
  char KeyType() const override { return 'N'; }
  Result<uint32_t> First() override { return recnos_.empty() ? 0 : recnos_.front(); }
  Result<uint32_t> Last() override { return recnos_.empty() ? 0 : recnos_.back(); }
  Result<uint32_t> Next(uint32_t r) override {
    size_t i = Index(r);
    return i + 1 < recnos_.size() ? recnos_[i + 1] : 0;
  }
  Result<uint32_t> Prev(uint32_t r) override {
    size_t i = Index(r);
    return i > 0 ? recnos_[i - 1] : 0;
  }
  Result<SeekResult> Seek(const rt::Value& key, bool soft, bool) override {
    uint32_t want = static_cast<uint32_t>(key.num());
    for (uint32_t r : recnos_) {
      if (r == want) return SeekResult{r, true};
      if (r < want) return SeekResult{soft ? r : 0, false};
    }
    return SeekResult{};
  }
  Result<bool> KeyMatches(uint32_t r, const rt::Value& key) override {
    return r == static_cast<uint32_t>(key.num());
  }
  Result<uint32_t> KeyNo(uint32_t r) override { return static_cast<uint32_t>(Index(r) + 1); }
  Result<uint32_t> KeyCount() override { return static_cast<uint32_t>(recnos_.size()); }
  Result<std::string> ShowKey(uint32_t r) override { return std::to_string(r); }

 private:
  size_t Index(uint32_t r) const {
    return static_cast<size_t>(std::find(recnos_.begin(), recnos_.end(), r) - recnos_.begin());
  }
  std::vector<uint32_t> recnos_;
  std::string name_ = "DESC";
  std::string empty_;
};

TEST_F(WorkAreaTest, NavigationFollowsTheControllingOrder) {
  settings_.deleted = true;
  auto area = Area();
  ReverseOrder order({10, 9, 8, 7, 6, 5, 4, 3, 2, 1});
  area->SetOrder(&order);
  EXPECT_EQ(Walk(*area), (std::vector<uint32_t>{10, 8, 7, 5, 4, 2, 1}));
  ASSERT_TRUE(area->GoBottom().ok());
  EXPECT_EQ(area->RecNo(), 1u);
  ASSERT_TRUE(area->Skip(-2).ok());
  EXPECT_EQ(area->RecNo(), 4u);

  ASSERT_TRUE(area->Seek(rt::Value::Int(7), false).ok());
  EXPECT_TRUE(area->Found());
  EXPECT_EQ(area->RecNo(), 7u);
  ASSERT_TRUE(area->Seek(rt::Value::Int(6), false).ok());  // hidden: not found, EOF
  EXPECT_FALSE(area->Found());
  EXPECT_TRUE(area->Eof());
  ASSERT_TRUE(area->Seek(rt::Value::Int(6), true).ok());  // soft: the next visible key
  EXPECT_FALSE(area->Found());
  EXPECT_EQ(area->RecNo(), 5u);
  area->SetOrder(nullptr);
  EXPECT_EQ(area->Seek(rt::Value::Int(6), true).code(), StatusCode::kNotSupported);
}

}  // namespace
}  // namespace qv::rdd
