// The routines as commands and data reach them: by name through the registry.
#include "tables/procedures.h"

#include <gtest/gtest.h>

#include "platform/runtime/procedures.h"
#include "platform/xbase/expr.h"
#include "tables/record_locks.h"
#include "tables/tables_fixture.h"
#include "ui/work_area.h"

namespace qv::tables {
namespace {

using rt::Value;
using testing::MakeTable;
using testing::Workstation;

class ProceduresTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeTable(w, "1.co\\inven", {{"ITEM", 'C', 5}}, {{Value("A")}, {Value("B")}});
    MakeTable(w, "menuwin", {{"MW_ID", 'N', 3}});
  }
  Value Eval(const char* text) { return xb::EvalText(w.ctx().host(), text); }

  qv::testing::TempDir dir;
  Workstation w{dir.path()};
};

TEST_F(ProceduresTest, EveryRoutineIsRegistered) {
  for (const char* name : {"USIT",         "USIT_ERR",        "SELECTIT",    "CLOSEXCEPT",
                           "ALWAYS",       "CHKFILE",         "LOCKIT",      "LOCKITA",
                           "UNLOCKIT",     "RLOCKIT",         "RUNLOCKIT",   "SEEKIT",
                           "SOFTSEEKIT",   "IS_EXCL",         "IS_UPDATE",   "IS_DOC",
                           "IS_GLOBAL",    "IS_FREE",         "SETIT",       "RECLAIM",
                           "FILLIT",       "ERASEFL",         "MG",          "READIT",
                           "CHECKIT",      "CHECKDATA",       "GETIT",       "DBZAP",
                           "MALIAS",       "MGALIAS",         "MGD",         "CMFILTER",
                           "CMREFILTER",   "CMCLEAR",         "CMCLRFILTER", "CMSAVEFILTER",
                           "CMRESTFILTER", "CMDESTROYFILTER", "CMXKEYNO",    "CMKEYNO",
                           "ALIAS",        "SELECT",          "DBSELECTAREA"}) {
    EXPECT_TRUE(w.session().procedures().Contains(name)) << name;
  }
}

TEST_F(ProceduresTest, ExpressionsCallTheRoutinesWithTheirDefaults) {
  EXPECT_TRUE(Eval("USIT('inven', XXCO, 'E')").logical());
  EXPECT_TRUE(Eval("USIT('menuwin')").logical());
  EXPECT_EQ(Eval("FILLIT('ABC', 5)").str(), "ABC  ");
  EXPECT_TRUE(Eval("SELECTIT('inven')").logical());
  EXPECT_EQ(Eval("ALIAS()").str(), "INVEN");
  EXPECT_EQ(Eval("SELECT('MENUWIN')").num(), 2);
  Eval("DBSELECTAREA('MENUWIN')");
  EXPECT_EQ(w.ws().Alias(), "MENUWIN");
  Eval("DBSELECTAREA(1)");
  EXPECT_EQ(Eval("CMXKEYNO()").num(), 1);
  EXPECT_TRUE(Eval("GETIT(1, 2, 3, 4)").logical());
  EXPECT_EQ(Eval("CLOSEXCEPT()").str(), "");
  EXPECT_EQ(w.ws().AreaOf("INVEN"), 0);
  EXPECT_NE(w.ws().AreaOf("MENUWIN"), 0);
}

TEST_F(ProceduresTest, DialogsKeepTheWorkAreaThroughTheEngineRoutines) {
  ASSERT_TRUE(Eval("USIT('inven', XXCO)").logical());
  ui::WorkAreaKeeper keeper(w.session());
  EXPECT_EQ(keeper.alias(), "INVEN");
  ASSERT_TRUE(Eval("USIT('menuwin')").logical());
  keeper.Restore();
  EXPECT_EQ(w.ws().Alias(), "INVEN");
}

TEST_F(ProceduresTest, ZapEmptiesAnExclusiveTable) {
  ASSERT_TRUE(Eval("USIT('inven', XXCO, 'E')").logical());
  EXPECT_TRUE(Eval("DBZAP()").logical());
  EXPECT_EQ(*w.ws().Area()->RecCount(), 0u);
}

TEST_F(ProceduresTest, RecordLockWaitsAndNoEndsTheWait) {
  Workstation other(dir.path(), "2");
  ASSERT_TRUE(Eval("USIT('inven', XXCO)").logical());
  rdd::UseArgs use;
  use.file = "1.co\\inven";
  ASSERT_TRUE(other.ws().Use(use).ok());
  ASSERT_TRUE(*other.ws().Area()->RLock());
  w.session().Assign("RESOURCE", Value("INVEN"));

  w.OnPause([&](int pauses) {
    if (pauses == 4) (void)other.ws().Area()->Unlock();
  });
  EXPECT_TRUE(RLockIt(w.ctx()));
  EXPECT_EQ(w.Transcript("NOTE").size(), 4u);
  EXPECT_NE(w.Transcript("NOTE")[0].find("Temporarily Locked: INVEN\t1"), std::string::npos);
  EXPECT_TRUE(RUnlockIt(w.ctx()));

  ASSERT_TRUE(*other.ws().Area()->RLock());
  w.OnPause(nullptr);
  w.AnswerMsg("N");
  EXPECT_FALSE(RLockIt(w.ctx())) << "No ends the wait";
  ASSERT_EQ(w.msgs().size(), 1u);
  EXPECT_EQ(w.msgs()[0].text, "Locked for more than21 seconds...continue waiting?");
}

}  // namespace
}  // namespace qv::tables
