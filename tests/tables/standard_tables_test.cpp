#include "tables/standard_tables.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tables/tables_fixture.h"
#include "tables/usit.h"

namespace qv::tables {
namespace {

using rt::Value;
using testing::MakeTable;
using testing::Workstation;

class StandardTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeTable(w, "1.co\\company", {{"MSCO", 'C', 3}}, {{Value("001")}});
    MakeTable(w, "readit", {{"RD_DIALOG", 'C', 10}, {"PREPROCESS", 'C', 4}, {"PROCESS", 'C', 4}},
              {{Value("DX"), Value(""), Value("")}, {Value("SALE"), Value("S100"), Value("S199")}});
    MakeTable(w, "menuwin", {{"MW_ID", 'N', 3}});
    MakeTable(w, "co1", {{"CO_TERMNO", 'C', 2}});
    MakeTable(w, "temp", {{"X", 'C', 1}});
    MakeTable(w, "other", {{"X", 'C', 1}});
  }
  std::vector<std::string> Open() {
    std::vector<std::string> aliases;
    for (int n = 1; n < 20; ++n) {
      if (!w.ws().Alias(n).empty()) aliases.push_back(w.ws().Alias(n));
    }
    return aliases;
  }

  qv::testing::TempDir dir;
  Workstation w{dir.path(), "1", true};
};

TEST_F(StandardTablesTest, AlwaysOpensTheStandardTablesAndCopiesReadit) {
  ASSERT_FALSE(std::filesystem::exists(w.Host("data/1.co/readit.dbf")));
  EXPECT_TRUE(Always(w.ctx()));
  // COMPANY, just opened, is selected when co is looked for: "COMPANY" = "CO".
  EXPECT_EQ(Open(), (std::vector<std::string>{"COMPANY", "READIT", "MENUWIN"}));
  EXPECT_TRUE(std::filesystem::exists(w.Host("data/1.co/readit.dbf")));
  EXPECT_NE(w.ws().Area(w.ws().AreaOf("READIT"))->table().path().find("1.co"), std::string::npos);
  EXPECT_EQ(w.ws().Alias(), "MENUWIN");
  EXPECT_TRUE(Always(w.ctx()));
  EXPECT_EQ(Open().size(), 3u) << "nothing is opened twice, and co never (step 1 selects COMPANY)";
}

TEST_F(StandardTablesTest, CoLooksOpenWhileCompanyIsSelected) {
  ASSERT_TRUE(Usit(w.ctx(), "company", Value("1.co\\")));
  EXPECT_TRUE(SelectIt(w.ctx(), "co")) << "non-exact: COMPANY = CO";
  EXPECT_FALSE(SelectIt(w.ctx(), "companyx"));
  Always(w.ctx());
  EXPECT_EQ(w.ws().AreaOf("CO"), 0) << "so ALWAYS does not open co";

  // With co open and selected, selecting "COMPANY" moves to it ("CO" is
  // shorter, so CO = COMPANY is false, but the alias is open).
  ASSERT_TRUE(Usit(w.ctx(), "co", Value("1")));
  EXPECT_TRUE(SelectIt(w.ctx(), "company"));
  EXPECT_EQ(w.ws().Alias(), "COMPANY");
}

TEST_F(StandardTablesTest, SelectItOfAClosedAliasKeepsTheCurrentArea) {
  ASSERT_TRUE(Usit(w.ctx(), "temp"));
  ASSERT_TRUE(Usit(w.ctx(), "menuwin"));
  EXPECT_TRUE(SelectIt(w.ctx(), "temp"));
  EXPECT_FALSE(SelectIt(w.ctx(), "nosuch"));
  EXPECT_EQ(w.ws().Alias(), "TEMP");
}

TEST_F(StandardTablesTest, CloseExceptSparesTheStandardTablesAndTheList) {
  Always(w.ctx());
  ASSERT_TRUE(Usit(w.ctx(), "co", Value("1")));
  ASSERT_TRUE(Usit(w.ctx(), "temp"));
  ASSERT_TRUE(Usit(w.ctx(), "other"));
  EXPECT_EQ(CloseExcept(w.ctx(), "temp"), "");
  EXPECT_EQ(Open(), (std::vector<std::string>{"COMPANY", "READIT", "MENUWIN", "CO", "TEMP"}));
  EXPECT_EQ(w.ws().Area(), nullptr) << "the next free area is selected";
  CloseExcept(w.ctx(), " Other , TEMP ");
  EXPECT_EQ(Open().size(), 5u);
  CloseExcept(w.ctx());
  EXPECT_EQ(Open().size(), 4u);
  CloseExcept(w.ctx(), "all");
  EXPECT_TRUE(Open().empty()) << "ALL closes company too";
}

TEST_F(StandardTablesTest, ChkFileTellsOnlyAboutMissingFiles) {
  EXPECT_TRUE(ChkFile(w.ctx(), "temp.dbf"));
  EXPECT_TRUE(w.msgs().empty());
  EXPECT_TRUE(ChkFile(w.ctx(), "1.co\\gone.dbf"));
  ASSERT_EQ(w.msgs().size(), 1u);
  EXPECT_EQ(w.msgs()[0].text, "error from usit file not found: 1.co\\gone.dbf");
}

}  // namespace
}  // namespace qv::tables
