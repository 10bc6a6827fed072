#include "company/work_area_state.h"

#include <gtest/gtest.h>

#include "company/procedures.h"
#include "platform/rdd/orders.h"
#include "platform/runtime/procedures.h"
#include "tables/filters.h"
#include "tables/standard_tables.h"
#include "tables/tables_fixture.h"
#include "tables/usit.h"

namespace qv::company {
namespace {

using rt::Value;
using tables::Usit;
using tables::testing::MakeBag;
using tables::testing::MakeTable;
using tables::testing::Workstation;

class WorkAreaStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterCompanyProcedures(w.ctx());
    MakeTable(w, "1.co\\company", {{"MSCO", 'C', 3}}, {{Value("001")}});
    MakeTable(w, "menuwin", {{"MW_ID", 'N', 3}});
    MakeTable(w, "1.co\\inven", {{"ITEM", 'C', 5}},
              {{Value("C")}, {Value("A")}, {Value("B")}, {Value("D")}});
    MakeBag(w, "1.co\\inven", "1.co\\inven", "ITEM");
    MakeBag(w, "1.co\\inven", "1.co\\invendt", "ITEM");
    MakeTable(w, "tftemm1", {{"X", 'C', 2}}, {{Value("x1")}, {Value("x2")}});
    MakeTable(w, "glm", {{"X", 'C', 2}}, {{Value("g1")}, {Value("g2")}});
  }
  std::vector<Value> Row(size_t i) { return Rows()[i].array()->items; }
  const std::vector<Value>& Rows() { return w.session().Find("ASCRSEL")->array()->items; }
  int Level() { return static_cast<int>(w.session().Find("NSCRSTACK")->num()); }

  qv::testing::TempDir dir;
  Workstation w{dir.path(), "1", true};
};

TEST_F(WorkAreaStateTest, SavesEveryElementOfARow) {
  ASSERT_TRUE(Usit(w.ctx(), "company", Value("1.co\\")));
  ASSERT_TRUE(
      Usit(w.ctx(), "inven", Value("1.co\\"), {Value("inven"), Value("invendt"), Value("L")}));
  tables::CmFilter(w.ctx(), "ITEM <> 'D'");
  ASSERT_TRUE(w.ws().Area()->GoTo(3).ok());
  ASSERT_TRUE(rdd::SetFocus(*w.ws().Area(), 2).ok());
  ASSERT_TRUE(Usit(w.ctx(), "tftemm", Value("1"), {Value("E")}));
  ASSERT_TRUE(tables::SelectIt(w.ctx(), "inven"));

  EXPECT_TRUE(ScrSave(w.ctx()));
  EXPECT_EQ(Level(), 1);
  ASSERT_EQ(Rows().size(), 3u);
  const std::vector<Value> inven = Row(1);
  EXPECT_EQ(inven[0].str(), "");
  EXPECT_EQ(inven[1].str(), "INVEN");
  EXPECT_EQ(inven[2].num(), 3);
  EXPECT_EQ(inven[3].str(), "ITEM <> 'D'");
  EXPECT_EQ(inven[4].str(), "C:\\DATA\\1.CO\\INVEN.CDX");
  EXPECT_EQ(inven[5].str(), "C:\\DATA\\1.CO\\INVENDT.CDX");
  EXPECT_EQ(inven[6].str(), "");
  EXPECT_EQ(inven[9].str(), "2");
  EXPECT_EQ(inven[10].str(), "E") << "its semaphore INVEN.1 exists";
  EXPECT_EQ(inven[11].str(), "");
  EXPECT_EQ(inven[12].str(), "INVEN");
  EXPECT_EQ(inven[13].num(), 1);
  const std::vector<Value> tftemm = Row(2);
  EXPECT_EQ(tftemm[1].str(), "TFTEMM");
  EXPECT_EQ(tftemm[10].str(), "");
  EXPECT_EQ(tftemm[11].str(), "1") << "the workstation suffix of a data-folder table";
  EXPECT_EQ(w.ws().Alias(), "INVEN");
}

TEST_F(WorkAreaStateTest, RestoreReopensByTheConventions) {
  ASSERT_TRUE(Usit(w.ctx(), "company", Value("1.co\\")));
  ASSERT_TRUE(Usit(w.ctx(), "menuwin"));
  ASSERT_TRUE(
      Usit(w.ctx(), "inven", Value("1.co\\"), {Value("inven"), Value("invendt"), Value("L")}));
  tables::CmFilter(w.ctx(), "ITEM <> 'D'");
  ASSERT_TRUE(w.ws().Area()->GoTo(3).ok());
  ASSERT_TRUE(rdd::SetFocus(*w.ws().Area(), 2).ok());
  ASSERT_TRUE(Usit(w.ctx(), "tftemm", Value("1")));
  ASSERT_TRUE(Usit(w.ctx(), "glm"));
  ASSERT_TRUE(w.ws().Area()->GoTo(2).ok());
  const int company_area = w.ws().AreaOf("COMPANY");
  const int menuwin_area = w.ws().AreaOf("MENUWIN");
  ASSERT_TRUE(tables::SelectIt(w.ctx(), "tftemm"));

  ASSERT_TRUE(rt::Call(w.session(), "SCRSAVE", {}).logical());
  tables::CloseExcept(w.ctx(), "ALL");
  ASSERT_TRUE(Usit(w.ctx(), "company", Value("1.co\\")));
  ASSERT_TRUE(rt::Call(w.session(), "SCRRESTORE", {}).logical());

  EXPECT_EQ(Level(), 0);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(w.ws().AreaOf("MENUWIN"), 0) << "standard tables are not reopened";
  EXPECT_NE(w.ws().AreaOf("COMPANY"), 0);
  (void)company_area;
  (void)menuwin_area;

  rdd::WorkArea* inven = w.ws().Area(w.ws().AreaOf("INVEN"));
  ASSERT_NE(inven, nullptr);
  EXPECT_TRUE(inven->table().exclusive()) << "a table with a semaphore comes back exclusive";
  EXPECT_EQ(inven->RecNo(), 3u);
  EXPECT_EQ(inven->FilterText(), "ITEM <> 'D'");
  EXPECT_EQ(rdd::IndexOrd(*inven), 2);
  EXPECT_NE(rdd::OrderBagName(*inven, 2).find("INVENDT.CDX"), std::string::npos);

  rdd::WorkArea* tftemm = w.ws().Area(w.ws().AreaOf("TFTEMM"));
  ASSERT_NE(tftemm, nullptr);
  EXPECT_TRUE(tftemm->table().exclusive()) << "a per-workstation table comes back exclusive";
  EXPECT_NE(tftemm->table().path().find("tftemm1"), std::string::npos);

  rdd::WorkArea* glm = w.ws().Area(w.ws().AreaOf("GLM"));
  ASSERT_NE(glm, nullptr);
  EXPECT_FALSE(glm->table().exclusive());
  EXPECT_EQ(glm->RecNo(), 2u);
  EXPECT_EQ(w.ws().Alias(), "TFTEMM") << "the alias current at the save";
}

TEST_F(WorkAreaStateTest, SavesNestAndRestoreOnlyTheNewestLevel) {
  ASSERT_TRUE(Usit(w.ctx(), "glm"));
  ScrSave(w.ctx());
  ASSERT_TRUE(Usit(w.ctx(), "tftemm", Value("1")));
  ScrSave(w.ctx());
  EXPECT_EQ(Level(), 2);
  EXPECT_EQ(Rows().size(), 3u);
  ScrRestore(w.ctx());
  EXPECT_EQ(Level(), 1);
  EXPECT_EQ(Rows().size(), 1u);
  EXPECT_NE(w.ws().AreaOf("GLM"), 0);
  EXPECT_NE(w.ws().AreaOf("TFTEMM"), 0);
  tables::CloseExcept(w.ctx(), "ALL");
  ScrRestore(w.ctx());
  EXPECT_EQ(Level(), 0);
  EXPECT_NE(w.ws().AreaOf("GLM"), 0);
  EXPECT_EQ(w.ws().AreaOf("TFTEMM"), 0);
}

TEST_F(WorkAreaStateTest, NumberedCheckJournalAndDrawerTablesComeBackByTheirNumbers) {
  w.session().DeclarePublic("CHNUM") = Value("4");
  w.session().DeclarePublic("DRAWER") = Value("2");
  MakeTable(w, "1.co\\ckj4", {{"X", 'C', 2}}, {{Value("k1")}, {Value("k2")}});
  MakeTable(w, "1.co\\cr2", {{"AMT", 'C', 2}}, {{Value("c2")}, {Value("c1")}});
  MakeBag(w, "1.co\\cr2", "1.co\\cr2", "AMT");
  ASSERT_TRUE(Usit(w.ctx(), "ckj", Value("1.co\\4"), {Value("E")}));
  ASSERT_TRUE(w.ws().Area()->GoTo(2).ok());
  ASSERT_TRUE(Usit(w.ctx(), "cr", Value("1.co\\2"), {Value("cr")}));
  ASSERT_TRUE(w.ws().Area()->GoTo(1).ok());

  ASSERT_TRUE(ScrSave(w.ctx()));
  EXPECT_EQ(Row(0)[10].str(), "E") << "CKJ4.1 is looked for under the number";
  EXPECT_EQ(Row(1)[10].str(), "");
  tables::CloseExcept(w.ctx(), "ALL");
  ASSERT_TRUE(ScrRestore(w.ctx()));

  rdd::WorkArea* ckj = w.ws().Area(w.ws().AreaOf("CKJ"));
  ASSERT_NE(ckj, nullptr);
  EXPECT_NE(ckj->table().path().find("ckj4"), std::string::npos);
  EXPECT_TRUE(ckj->table().exclusive());
  EXPECT_EQ(ckj->RecNo(), 2u);
  rdd::WorkArea* cr = w.ws().Area(w.ws().AreaOf("CR"));
  ASSERT_NE(cr, nullptr);
  EXPECT_NE(cr->table().path().find("cr2"), std::string::npos);
  EXPECT_FALSE(cr->table().exclusive());
  EXPECT_NE(rdd::OrderBagName(*cr, 1).find("CR2.CDX"), std::string::npos);
  EXPECT_EQ(cr->RecNo(), 1u);
  EXPECT_EQ(w.ws().Alias(), "CR") << "the alias current at the save";
}

}  // namespace
}  // namespace qv::company
