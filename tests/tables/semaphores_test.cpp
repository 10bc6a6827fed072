#include "tables/semaphores.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tables/state_tests.h"
#include "tables/tables_fixture.h"

namespace qv::tables {
namespace {

using rt::Value;
using testing::Workstation;

class SemaphoreTest : public ::testing::Test {
 protected:
  bool Exists(const std::string& rel) { return std::filesystem::exists(w.Host(rel)); }
  void Touch(const std::string& rel) { qv::testing::WriteHostFile(w.Host(rel), ""); }
  void Resource(const char* name) { w.session().Assign("RESOURCE", Value(name)); }

  qv::testing::TempDir dir;
  Workstation w{dir.path(), "1", true};
};

TEST_F(SemaphoreTest, SingleUserTakesTheResourceWithoutLooking) {
  Workstation single(dir.path(), "1", false);
  Touch("data/1.co/INVEN.2");
  single.session().Assign("RESOURCE", Value("INVEN"));
  EXPECT_TRUE(LockIt(single.ctx()));
  EXPECT_TRUE(Exists("data/1.co/INVEN.1"));
  EXPECT_EQ(single.pauses(), 0);
  EXPECT_TRUE(UnlockIt(single.ctx()));
  EXPECT_FALSE(Exists("data/1.co/INVEN.1"));
  EXPECT_TRUE(Exists("data/1.co/INVEN.2")) << "only its own semaphore is released";
}

TEST_F(SemaphoreTest, WaitsWithNumberedNotesUntilTheOtherReleases) {
  Touch("data/1.co/INVEN.12");
  Resource("INVEN");
  w.OnPause([&](int pauses) {
    if (pauses == 3) std::filesystem::remove(w.Host("data/1.co/INVEN.12"));
  });
  EXPECT_TRUE(LockIt(w.ctx()));
  EXPECT_TRUE(Exists("data/1.co/INVEN.1"));
  const auto notes = w.Transcript("NOTE");
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_NE(notes[0].find("Temporarily Locked: INVEN    1\t1"), std::string::npos) << notes[0];
  EXPECT_NE(notes[2].find("Temporarily Locked: INVEN    3"), std::string::npos) << notes[2];
}

TEST_F(SemaphoreTest, AfterTwentyNotesAsksAndNoEndsTheWait) {
  Touch("data/1.co/INVEN.2");
  Resource("INVEN");
  w.AnswerMsg("Y");
  w.AnswerMsg("N");
  EXPECT_FALSE(LockIt(w.ctx()));
  EXPECT_EQ(w.Transcript("NOTE").size(), 40u);
  ASSERT_EQ(w.msgs().size(), 2u);
  EXPECT_EQ(w.msgs()[0].text, "Locked for more than21 seconds...continue waiting?");
  EXPECT_EQ(w.msgs()[0].question, "Y");
  EXPECT_EQ(w.msgs()[1].text, "Locked for more than42 seconds...continue waiting?");
  EXPECT_FALSE(Exists("data/1.co/INVEN.1")) << "no semaphore taken";
  EXPECT_TRUE(Exists("data/1.co/INVEN.2"));
}

TEST_F(SemaphoreTest, EntryChkIsAskedAndYesClearsIt) {
  Touch("data/1.co/EntryChk.3");
  Resource("EntryChk");
  w.AnswerMsg("Y");
  EXPECT_TRUE(LockIt(w.ctx()));
  EXPECT_EQ(w.Transcript("NOTE").size(), 20u);
  ASSERT_EQ(w.msgs().size(), 1u);
  EXPECT_EQ(w.msgs()[0].text,
            "Another Work Station may be stuck in EntryChk...Go ahead anyway Y/N");
  EXPECT_EQ(w.msgs()[0].question, "N");
  EXPECT_FALSE(Exists("data/1.co/EntryChk.3"));
  EXPECT_TRUE(Exists("data/1.co/EntryChk.1"));
}

TEST_F(SemaphoreTest, StaleSemaphoresOfAStoppedWorkstationAreCleanedThroughTheFileLock) {
  testing::MakeTable(w, "1.co\\ledger", {{"N", 'N', 5}});
  Touch("data/1.co/LEDGER.7");
  Touch("data/1.co/OTHER.7");
  Touch("data/1.co/OTHER.2");
  Resource("LEDGER");
  w.session().DeclarePrivate("FILENM", Value("ledger"));
  w.session().DeclarePrivate("EXT", Value("Y"));
  EXPECT_TRUE(LockIt(w.ctx()));
  EXPECT_EQ(w.Transcript("NOTE").size(), 20u);
  EXPECT_TRUE(w.msgs().empty()) << "the clean-up came before any question";
  EXPECT_FALSE(Exists("data/1.co/OTHER.7")) << "every semaphore of workstation 7";
  EXPECT_TRUE(Exists("data/1.co/OTHER.2"));
  EXPECT_TRUE(Exists("data/1.co/LEDGER.1"));
  EXPECT_EQ(w.ws().AreaOf("LEDGER"), 0) << "the table used for the test is closed";
}

TEST_F(SemaphoreTest, StaleCleanUpIsRefusedWhileTheTableIsLocked) {
  testing::MakeTable(w, "1.co\\ledger", {{"N", 'N', 5}});
  Workstation other(dir.path(), "2", true);
  testing::HoldFileLock(other, "1.co\\ledger");
  Touch("data/1.co/LEDGER.2");
  Resource("LEDGER");
  w.session().DeclarePrivate("FILENM", Value("ledger"));
  w.session().DeclarePrivate("EXT", Value("Y"));
  w.AnswerMsg("N");
  EXPECT_FALSE(LockIt(w.ctx()));
  EXPECT_TRUE(Exists("data/1.co/LEDGER.2"));
  ASSERT_EQ(w.msgs().size(), 1u);
  EXPECT_EQ(w.msgs()[0].text, "Locked for more than21 seconds...continue waiting?");
}

TEST_F(SemaphoreTest, ReturnIfCannotLockGivesUpAtTheFirstTest) {
  Touch("data/1.co/INVEN.2");
  Resource("INVEN");
  w.session().DeclarePublic("RETURNIFCANNOTLOCK") = Value(true);
  EXPECT_FALSE(LockIt(w.ctx()));
  EXPECT_TRUE(w.Transcript("NOTE").empty());
}

TEST_F(SemaphoreTest, UnlockWithoutAResourceErasesTheBareWorkstationFile) {
  w.session().Release("RESOURCE");
  Touch("data/1.co/.1");
  EXPECT_TRUE(UnlockIt(w.ctx()));
  EXPECT_FALSE(Exists("data/1.co/.1"));
  EXPECT_EQ(w.session().Find("RESOURCE")->str(), "");
}

TEST_F(SemaphoreTest, StateTestsLookAtMarkersInTheDataFolder) {
  EXPECT_FALSE(IsExcl(w.ctx()));
  EXPECT_FALSE(IsGlobal(w.ctx(), ""));
  Touch("data/L1AB.1");
  EXPECT_FALSE(IsExcl(w.ctx())) << "its own exclusive markers are erased first";
  EXPECT_FALSE(Exists("data/L1AB.1"));
  Touch("data/L1AB.2");
  Touch("data/L0CD.2");
  Touch("data/KXYZ.2");
  EXPECT_TRUE(IsExcl(w.ctx()));
  EXPECT_TRUE(IsUpdate(w.ctx(), "ZZ"));
  EXPECT_TRUE(IsDoc(w.ctx()));
  EXPECT_TRUE(IsGlobal(w.ctx(), "ZZ"));
  w.session().DeclarePrivate("SINGLE", Value("x"));
  EXPECT_FALSE(IsUpdate(w.ctx(), "ZZ")) << "with SINGLE only L0 + code counts";
  EXPECT_TRUE(IsUpdate(w.ctx(), "CD"));

  Workstation single(dir.path(), "1", false);
  EXPECT_FALSE(IsExcl(single.ctx()));
  EXPECT_FALSE(IsDoc(single.ctx()));
}

TEST_F(SemaphoreTest, IsFreeWaitsWhileTheConditionHolds) {
  w.session().DeclarePublic("BUSY") = Value(true);
  w.session().settings().exit_code = 3;
  w.OnPause([&](int pauses) {
    if (pauses == 2) w.session().Assign("BUSY", Value(false));
  });
  EXPECT_TRUE(IsFree(w.ctx(), "BUSY", "Waiting for the posting"));
  EXPECT_EQ(w.session().settings().exit_code, 1);
  ASSERT_EQ(w.msgs().size(), 1u);
  EXPECT_EQ(w.msgs()[0].number, 193);
  EXPECT_EQ(w.msgs()[0].mode, "D");
  EXPECT_EQ(w.Transcript("NOTE").size(), 2u);
  EXPECT_NE(w.Transcript("NOTE")[0].find("\t5"), std::string::npos);
}

}  // namespace
}  // namespace qv::tables
