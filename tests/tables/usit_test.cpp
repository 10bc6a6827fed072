#include "tables/usit.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/rdd/orders.h"
#include "tables/lock_report.h"
#include "tables/tables_fixture.h"

namespace qv::tables {
namespace {

using rt::Value;
using testing::MakeBag;
using testing::MakeTable;
using testing::Workstation;

class UsitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeTable(w, "1.co\\inven", {{"ITEM", 'C', 5}, {"DESC", 'C', 10}},
              {{Value("B2"), Value("zeta")}, {Value("A1"), Value("alpha")}});
    MakeBag(w, "1.co\\inven", "1.co\\inven", "ITEM");
    MakeBag(w, "1.co\\inven", "1.co\\invendt", "DESC");
  }
  bool Exists(const std::string& rel) {
    return !qv::testing::ReadHostFile(w.Host(rel)).empty() || std::filesystem::exists(w.Host(rel));
  }

  qv::testing::TempDir dir;
  Workstation w{dir.path()};
};

TEST_F(UsitTest, OpensCompanyTableExclusivelyWithItsBagsUnderTheSemaphore) {
  ASSERT_TRUE(
      Usit(w.ctx(), "inven", Value("1.co\\"), {Value("inven"), Value("invendt"), Value("E")}));
  rdd::WorkArea* area = w.ws().Area();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->alias(), "INVEN");
  EXPECT_TRUE(area->table().exclusive());
  EXPECT_EQ(rdd::IndexOrd(*area), 1);
  EXPECT_NE(rdd::OrderBagName(*area, 1).find("INVEN.CDX"), std::string::npos);
  EXPECT_NE(rdd::OrderBagName(*area, 2).find("INVENDT.CDX"), std::string::npos);
  EXPECT_EQ(area->RecNo(), 2u) << "first record in the first bag's order";
  EXPECT_TRUE(Exists("data/1.co/INVEN.1"));
  EXPECT_EQ(w.session().Find("RESOURCE")->str(), "INVEN");

  // "U" in the second slot closes it and releases the semaphore.
  ASSERT_TRUE(Usit(w.ctx(), "inven", Value("1.co\\"), {Value(), Value("U")}));
  EXPECT_EQ(w.ws().AreaOf("INVEN"), 0);
  EXPECT_FALSE(Exists("data/1.co/INVEN.1"));
}

TEST_F(UsitTest, SuffixedPlacesNameTableAndBag) {
  MakeTable(w, "1.co\\cr3", {{"AMT", 'N', 8, 2}}, {{Value(rt::Number{5, 8, 2})}});
  MakeBag(w, "1.co\\cr3", "1.co\\cr3", "AMT");
  ASSERT_TRUE(Usit(w.ctx(), "cr", Value("1.co\\3"), {Value("cr")}));
  EXPECT_EQ(w.ws().Alias(), "CR");
  EXPECT_FALSE(w.ws().Area()->table().exclusive());
  EXPECT_NE(rdd::OrderBagName(*w.ws().Area(), 1).find("CR3.CDX"), std::string::npos);
  EXPECT_FALSE(Exists("data/1.co/CR3.1")) << "no flag, no semaphore";

  MakeTable(w, "tftemm2", {{"X", 'C', 1}});
  ASSERT_TRUE(Usit(w.ctx(), "tftemm", Value("2"), {Value("E")}));
  EXPECT_EQ(w.ws().Alias(), "TFTEMM");
  EXPECT_TRUE(w.ws().Area()->table().exclusive());
  EXPECT_FALSE(Exists("data/1.co/TFTEMM2.1")) << "outside the lock scheme";
  EXPECT_EQ(w.ws().AreaOf("CR"), 1) << "opened in the next free area";

  // An empty or blank name closes the current area.
  ASSERT_TRUE(Usit(w.ctx(), ""));
  EXPECT_EQ(w.ws().AreaOf("TFTEMM"), 0);
  EXPECT_EQ(w.ws().AreaOf("CR"), 1);
  ASSERT_TRUE(w.ws().SelectArea(1).ok());
  ASSERT_TRUE(Usit(w.ctx(), "   "));
  EXPECT_EQ(w.ws().AreaOf("CR"), 0);
  EXPECT_TRUE(w.Transcript("ERROR").empty()) << "no open of a blank file name is tried";
}

TEST_F(UsitTest, ReopenReleasesAndRetakesItsOwnLocks) {
  ASSERT_TRUE(Usit(w.ctx(), "inven", Value("1.co\\"), {Value("L")}));
  EXPECT_TRUE(w.ws().Area()->table().file_locked());
  ASSERT_TRUE(Usit(w.ctx(), "inven", Value("1.co\\"), {Value("L")}));
  EXPECT_TRUE(w.ws().Area()->table().file_locked());
  EXPECT_TRUE(Exists("data/1.co/INVEN.1"));
  EXPECT_TRUE(w.Transcript("NOTE").empty()) << "its own lock never made it wait";
}

TEST_F(UsitTest, TableHeldElsewhereIsReportedInTheLockLog) {
  Workstation other(dir.path(), "2");
  ASSERT_TRUE(Usit(other.ctx(), "inven", Value("1.co\\"), {Value("E")}));

  EXPECT_FALSE(Usit(w.ctx(), "inven", Value("1.co\\")));
  EXPECT_EQ(w.ws().Area(), nullptr) << "the area stays empty";
  ASSERT_EQ(w.msgs().size(), 1u);
  EXPECT_EQ(
      w.msgs()[0].text,
      "LOCK required on INVEN ...but can NOT be granted...some Work Station must complete first");
  EXPECT_EQ(w.msgs()[0].mode, "F");
  const std::string log = qv::testing::ReadHostFile(w.Host("data/lock.log"));
  EXPECT_EQ(log.rfind("LOCK required on INVEN ...but", 0), 0u) << log;
  EXPECT_NE(log.find("Current DataBase: ***NO DATABASE SELECTED******************\r\n"),
            std::string::npos);
  EXPECT_TRUE(w.Transcript("ERROR").empty()) << "a sharing violation is no run-time error";
}

TEST_F(UsitTest, MissingOrDamagedTableGoesThroughTheErrorDialogThenTheReport) {
  EXPECT_FALSE(Usit(w.ctx(), "nosuch", Value("1.co\\")));
  ASSERT_EQ(w.Transcript("ERROR").size(), 1u);
  // The file as the program names it: a transcript reads the same on every host.
  EXPECT_EQ(w.Transcript("ERROR")[0].rfind("ERROR\tOpen error\t1.co\\\\NOSUCH.dbf\t", 0), 0u)
      << w.Transcript("ERROR")[0];

  // A semaphore taken for the open is not left behind when the open fails.
  EXPECT_FALSE(Usit(w.ctx(), "nosuch", Value("1.co\\"), {Value("E")}));
  EXPECT_FALSE(Exists("data/1.co/NOSUCH.1"));
  EXPECT_EQ(w.Transcript("ERROR").size(), 2u);

  qv::testing::WriteHostFile(w.Host("data/1.co/broken.dbf"), std::string("\x03garbage", 8));
  EXPECT_FALSE(Usit(w.ctx(), "broken", Value("1.co\\")));
  EXPECT_EQ(w.Transcript("ERROR").size(), 3u);
  EXPECT_EQ(w.msgs().size(), 3u);
  EXPECT_NE(qv::testing::ReadHostFile(w.Host("data/lock.log")).find("LOCK required on BROKEN"),
            std::string::npos);
}

TEST_F(UsitTest, RefusedFileLockIsRetriedWithNotesThenQuestion195) {
  Workstation other(dir.path(), "2");
  testing::HoldFileLock(other, "1.co\\inven");

  w.AnswerMsg("Y");
  w.OnPause([&](int pauses) {
    if (pauses == 20) (void)other.ws().Area()->Unlock();
  });
  ASSERT_TRUE(Usit(w.ctx(), "inven", Value("1.co\\"), {Value("L")}));
  EXPECT_TRUE(w.ws().Area()->table().file_locked());
  EXPECT_EQ(w.Transcript("NOTE").size(), 20u) << "15 notes, the question, then 5 more";
  EXPECT_NE(w.Transcript("NOTE")[0].find(" Attempting lock on INVEN..."), std::string::npos);
  ASSERT_EQ(w.msgs().size(), 2u);
  EXPECT_EQ(w.msgs()[0].number, 195);
  EXPECT_EQ(w.msgs()[0].text, "Lock on INVEN FAILED...Retry Y/N");
  EXPECT_EQ(w.msgs()[0].question, "Y");
  EXPECT_EQ(w.msgs()[1].text,
            "If stuck, 'Try CLEAR LOCKS (at menu:F A A C)' from another Work Station");
}

TEST_F(UsitTest, DecliningTheFileLockRetryEndsTheProgramInOrder) {
  Workstation other(dir.path(), "2");
  testing::HoldFileLock(other, "1.co\\inven");

  w.AnswerMsg("N");
  try {
    Usit(w.ctx(), "inven", Value("1.co\\"), {Value("L")});
    FAIL() << "the program should end";
  } catch (const rt::QuitRequest& quit) {
    EXPECT_EQ(quit.exit_code, 0);
  }
  EXPECT_EQ(w.shell_calls(), std::vector<std::string>{"NORMAL_DOWN"});
  EXPECT_EQ(w.msgs().back().number, 196);
  EXPECT_FALSE(Exists("data/1.co/INVEN.1")) << "the semaphore was released";
}

TEST_F(UsitTest, GivesUpAtOnceUnderReturnIfCannotLock) {
  Workstation other(dir.path(), "2");
  testing::HoldFileLock(other, "1.co\\inven");
  w.session().DeclarePublic("RETURNIFCANNOTLOCK") = Value(true);

  EXPECT_FALSE(Usit(w.ctx(), "inven", Value("1.co\\"), {Value("L")}));
  EXPECT_EQ(w.ws().Alias(), "INVEN") << "the table stays open, unlocked";
  EXPECT_TRUE(w.msgs().empty());
  EXPECT_TRUE(w.Transcript("NOTE").empty());
}

TEST_F(UsitTest, LockReportListsCallersDateCompanyModeAndTable) {
  MakeTable(w, "1.co\\company", {{"MSCO", 'C', 3}}, {{Value("001")}});
  ASSERT_TRUE(Usit(w.ctx(), "company", Value("1.co\\")));
  rt::FrameGuard command(w.session(), "MSC", 120);
  rt::FrameGuard method(w.session(), "TDIALOG:ACTIVATE", 7);
  rt::FrameGuard usit(w.session(), "USIT", 3);

  const std::string with_methods = BuildLockReport(w.ctx(), "INVEN");
  EXPECT_EQ(
      with_methods,
      "LOCK required on INVEN ...but can NOT be granted...some Work Station must complete first\r\n"
      "01  Called from TDIALOG:ACTIVATE(7)\r\n"
      "02  Called from MSC(120)\r\n"
      "\r\n"
      "Run-time locking problem on: 03/04/26, 13:05:09   Company# 001\r\n"
      "SINGLE-USER\r\n"
      "Current DataBase: COMPANY; Record # 1 EOF:N\r\n"
      "Maximum file handles: ( SetHandleCount() )   0\r\n"
      "\r\n"
      "Please keep this report for your Quorvanta support contact.\r\n");

  w.session().Assign("DEBUGGER", Value(false));
  w.session().Assign("XXVMLTUSR", Value("YES"));
  const std::string plain = BuildLockReport(w.ctx(), "INVEN");
  EXPECT_NE(plain.find("\r\n01  Called from MSC(120)\r\n"), std::string::npos) << plain;
  EXPECT_NE(plain.find("\r\nMULTI-USER Work Station 1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace qv::tables
