#include <gtest/gtest.h>

#include <filesystem>

#include "platform/rdd/orders.h"
#include "tables/filters.h"
#include "tables/seek.h"
#include "tables/tables_fixture.h"
#include "tables/usit.h"

namespace qv::tables {
namespace {

using rt::Value;
using testing::MakeBag;
using testing::MakeTable;
using testing::Workstation;

class SeekFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeTable(w, "cust", {{"CODE", 'C', 4}, {"TOWN", 'C', 8}},
              {{Value("D4"), Value("OSLO")},
               {Value("B2"), Value("ROME")},
               {Value("C3"), Value("OSLO")},
               {Value("A1"), Value("ROME")}});
    MakeBag(w, "cust", "cust", "CODE");
    ASSERT_TRUE(Usit(w.ctx(), "cust", Value(), {Value("cust")}));
  }
  rdd::WorkArea& area() { return *w.ws().Area(); }

  qv::testing::TempDir dir;
  Workstation w{dir.path()};
};

TEST_F(SeekFilterTest, SeekUnderATemporaryFilterPutsTheOldFilterBack) {
  ASSERT_TRUE(CmFilter(w.ctx(), "TOWN = 'OSLO'"));
  EXPECT_FALSE(SeekIt(w.ctx(), Value("B2"))) << "B2 is filtered out";
  // A table with a filter does not restore by default: the given one stays.
  EXPECT_TRUE(SeekIt(w.ctx(), Value("B2"), "TOWN = 'ROME'"));
  EXPECT_EQ(area().FilterText(), "TOWN = 'ROME'");
  // Told to restore, the previous filter comes back after the seek.
  EXPECT_TRUE(SeekIt(w.ctx(), Value("C3"), "TOWN = 'OSLO'", Value(true)));
  EXPECT_EQ(area().RecNo(), 3u);
  EXPECT_EQ(area().FilterText(), "TOWN = 'ROME'");
  CmClear(w.ctx());
  // No filter now: restore defaults to true and the filter is cleared again.
  EXPECT_TRUE(SeekIt(w.ctx(), Value("A1"), "TOWN = 'ROME'"));
  EXPECT_EQ(area().FilterText(), "");
  // A blank filter is no filter: the table's own one stays in force.
  CmFilter(w.ctx(), "TOWN = 'OSLO'");
  EXPECT_FALSE(SeekIt(w.ctx(), Value("A1"), "   "));
  EXPECT_EQ(area().FilterText(), "TOWN = 'OSLO'");
}

TEST_F(SeekFilterTest, SoftSeekEndsOffAndTermsIsLocated) {
  w.ws().settings().soft_seek = true;
  EXPECT_TRUE(SoftSeekIt(w.ctx(), Value("B1")));
  EXPECT_EQ(area().RecNo(), 2u) << "on the next greater key";
  EXPECT_FALSE(w.ws().settings().soft_seek);
  EXPECT_FALSE(SeekIt(w.ctx(), Value("B1")));

  MakeTable(w, "terms", {{"ID", 'C', 3}, {"TERMS", 'C', 10}},
            {{Value("  0"), Value("Cash")}, {Value("  1"), Value("Net 10")}});
  ASSERT_TRUE(Usit(w.ctx(), "terms"));
  EXPECT_TRUE(SeekIt(w.ctx(), Value("  1")));
  EXPECT_EQ(area().RecNo(), 2u);
  EXPECT_TRUE(SeekIt(w.ctx(), Value("  9"))) << "TERMS reports success even when not found";
  EXPECT_TRUE(area().Eof());
}

TEST_F(SeekFilterTest, SavedFiltersAreKeptPerWorkstation) {
  EXPECT_TRUE(CmRestFilter(w.ctx())) << "no file: nothing changes";
  CmFilter(w.ctx(), "TOWN = 'OSLO'");
  EXPECT_TRUE(CmRestFilter(w.ctx()));
  EXPECT_EQ(area().FilterText(), "TOWN = 'OSLO'");

  CmClear(w.ctx());
  CmSaveFilter(w.ctx());  // no filter active
  CmFilter(w.ctx(), "TOWN = 'ROME'");
  CmRestFilter(w.ctx());
  EXPECT_EQ(area().FilterText(), "") << "restoring the saved empty filter clears";

  Workstation two(dir.path(), "2");
  ASSERT_TRUE(Usit(two.ctx(), "cust"));
  CmFilter(two.ctx(), "TOWN = 'ROME'");
  CmSaveFilter(two.ctx());
  EXPECT_TRUE(std::filesystem::exists(w.Host("data/savflt1.mem")));
  EXPECT_TRUE(std::filesystem::exists(w.Host("data/savflt2.mem")));
  CmFilter(w.ctx(), "TOWN = 'OSLO'");
  CmRestFilter(w.ctx());
  EXPECT_EQ(area().FilterText(), "");
  CmDestroyFilter(w.ctx());
  EXPECT_FALSE(std::filesystem::exists(w.Host("data/savflt1.mem")));
  EXPECT_EQ(w.session().Find("SAVEFILTER"), nullptr) << "no variable is left behind";
}

TEST_F(SeekFilterTest, KeyNumberFollowsTheControllingOrder) {
  ASSERT_TRUE(SeekIt(w.ctx(), Value("C3")));
  EXPECT_EQ(area().RecNo(), 3u);
  EXPECT_EQ(CmKeyNo(w.ctx()), 3u) << "third in key order";
  ASSERT_TRUE(area().GoTo(1).ok());
  EXPECT_EQ(CmKeyNo(w.ctx()), 4u);
  ASSERT_TRUE(rdd::SetFocus(area(), 0).ok());
  EXPECT_EQ(CmKeyNo(w.ctx()), 1u) << "record number without an order";
}

TEST_F(SeekFilterTest, BadConditionsAreRunTimeErrorsNotCrashes) {
  CmFilter(w.ctx(), "TOWN = 'OSLO'");
  CmFilter(w.ctx(), "TOWN = (");
  EXPECT_EQ(w.Transcript("ERROR").size(), 1u);
  EXPECT_EQ(area().FilterText(), "TOWN = 'OSLO'") << "the filter is left as it was";
  CmFilter(w.ctx(), "NOSUCHFIELD = 1");
  ASSERT_TRUE(area().GoTop().ok());
  EXPECT_GE(w.Transcript("ERROR").size(), 2u);
  EXPECT_FALSE(area().Eof()) << "records stay visible";

  qv::testing::WriteHostFile(w.Host("data/savflt1.mem"), "garbage");
  EXPECT_TRUE(CmRestFilter(w.ctx()));
}

}  // namespace
}  // namespace qv::tables
