#include "tables/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/runtime/procedures.h"
#include "tables/tables_fixture.h"
#include "tables/usit.h"
#include "tables/utilities.h"

namespace qv::tables {
namespace {

using rt::Value;
using testing::MakeTable;
using testing::Workstation;

class SettingsTest : public ::testing::Test {
 protected:
  std::string Status() { return StatusString(w.session()); }

  qv::testing::TempDir dir;
  Workstation w{dir.path()};
};

TEST_F(SettingsTest, SetItRecordsEachCommandAtItsPosition) {
  struct Case {
    const char* command;
    size_t position;
    const char* recorded;
  };
  const Case cases[] = {
      {"delimiters on", 1, "1"},    {"  DELIMITERS OFF", 1, "0"}, {"confirm on", 3, "1"},
      {"deleted on", 4, "1"},       {"console off", 7, "0"},      {"intensity on", 8, "1"},
      {"key on", 9, "1"},           {"bell on", 10, "1"},         {"exact on", 11, "1"},
      {"margin to 10", 12, "10"},   {"margin to 5", 12, " 5"},    {"device to printer", 2, "P"},
      {"device to screen", 2, "S"}, {"printer on", 6, "1"},       {"printer to", 6, "0"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(SetIt(w.ctx(), c.command));
    EXPECT_EQ(Status().substr(c.position - 1, std::string(c.recorded).size()), c.recorded)
        << c.command;
  }
  EXPECT_TRUE(w.ws().settings().deleted);
  EXPECT_TRUE(w.session().settings().exact);
  EXPECT_EQ(w.session().Find("NMARGIN")->num(), 5);
  EXPECT_EQ(w.ctx().set_flags().margin, 0) << "SETIT leaves the runtime margin alone";
  EXPECT_TRUE(w.shell_calls().empty());
}

TEST_F(SettingsTest, PrintWordsStartAndDropTheBuffer) {
  SetIt(w.ctx(), "device to printer");
  ASSERT_NE(w.session().Find("APRINT"), nullptr);
  EXPECT_TRUE(w.session().Find("APRINT")->IsArray());
  EXPECT_EQ(w.session().Find("PRROW")->num(), 0);
  w.session().DeclarePublic("HEADER1") = Value("Title");
  SetIt(w.ctx(), "printer to");
  EXPECT_TRUE(w.session().Find("APRINT")->IsNil());
  EXPECT_EQ(w.session().Find("HEADER1")->str(), "");
}

TEST_F(SettingsTest, UnknownWordIsAnErrorNoteAndStillTrue) {
  EXPECT_TRUE(SetIt(w.ctx(), "colour to red"));
  EXPECT_EQ(w.shell_calls(), std::vector<std::string>{"ERRMSG"});
  EXPECT_EQ(w.session().Find("MESSAGE")->str(), "Setit ERROR");
  EXPECT_EQ(Status(), std::string(13, ' '));
}

TEST_F(SettingsTest, OrderWordSetsTheControllingOrder) {
  MakeTable(w, "cust", {{"CODE", 'C', 4}}, {{Value("B")}, {Value("A")}});
  testing::MakeBag(w, "cust", "cust", "CODE");
  ASSERT_TRUE(Usit(w.ctx(), "cust", Value(), {Value("cust")}));
  SetIt(w.ctx(), "order to 0");
  EXPECT_EQ(w.ws().Area()->order(), nullptr);
  SetIt(w.ctx(), "order to 1");
  EXPECT_NE(w.ws().Area()->order(), nullptr);
}

TEST_F(SettingsTest, ReclaimAppliesASavedString) {
  EXPECT_TRUE(Reclaim(w.ctx(), "1S11 1 0011 7"));
  const SetFlags& f = w.ctx().set_flags();
  EXPECT_TRUE(f.delimiters);
  EXPECT_TRUE(f.confirm);
  EXPECT_TRUE(w.ws().settings().deleted);
  EXPECT_TRUE(f.printer);
  EXPECT_TRUE(f.console) << "blank position 7 switches the console on";
  EXPECT_FALSE(f.intensity);
  EXPECT_TRUE(f.bell);
  EXPECT_TRUE(w.session().settings().exact);
  EXPECT_EQ(f.margin, 7);
  EXPECT_EQ(w.session().Find("XXVSTATUS")->str(), "1S11 1 0011 7");
  Reclaim(w.ctx(), "0S00 0001000 0");
  EXPECT_FALSE(w.ctx().set_flags().console);
}

TEST(FillItTest, PadsOrCuts) {
  EXPECT_EQ(FillIt("ABC", 5), "ABC  ");
  EXPECT_EQ(FillIt("ABC", 2), "AB");
  EXPECT_EQ(FillIt("", 3), "   ");
  EXPECT_EQ(FillIt("ABC", -1), "");
}

class UtilityTest : public SettingsTest {};

TEST_F(UtilityTest, EraseFlErasesMatchesInThePatternsFolder) {
  for (const char* f : {"data/1.co/a.tmp", "data/1.co/b.tmp", "data/c.tmp", "data/1.co/keep.dbf"}) {
    qv::testing::WriteHostFile(w.Host(f), "x");
  }
  EraseFl(w.ctx(), "1.co\\*.tmp");
  EXPECT_FALSE(std::filesystem::exists(w.Host("data/1.co/a.tmp")));
  EXPECT_FALSE(std::filesystem::exists(w.Host("data/1.co/b.tmp")));
  EXPECT_TRUE(std::filesystem::exists(w.Host("data/c.tmp")));
  EXPECT_TRUE(std::filesystem::exists(w.Host("data/1.co/keep.dbf")));
  EraseFl(w.ctx(), "*.tmp");
  EXPECT_FALSE(std::filesystem::exists(w.Host("data/c.tmp")));
  EraseFl(w.ctx(), "*.nothing");
}

TEST_F(UtilityTest, DiagnosticNotes) {
  MakeTable(w, "cust", {{"CODE", 'C', 4}}, {{Value("B")}, {Value("A")}});
  ASSERT_TRUE(Usit(w.ctx(), "cust"));
  Mg(w.ctx(), Value("look here now"));
  Mg(w.ctx(), Value(".'a'+'b'"));
  Mg(w.ctx(), Value(rt::Number{42, 10, 0}));
  {
    rt::FrameGuard outer(w.session(), "MSC", 12);
    rt::FrameGuard inner(w.session(), "MSB_F", 345);
    Mg(w.ctx(), Value());
  }
  MAlias(w.ctx());
  MgAlias(w.ctx());
  MgD(w.ctx());
  const auto boxes = w.Transcript("MESSAGE");
  ASSERT_EQ(boxes.size(), 7u);
  EXPECT_NE(boxes[0].find("\tlook.here.now"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[1].find("\tDebug...ab"), std::string::npos) << boxes[1];
  EXPECT_NE(boxes[2].find("\t42"), std::string::npos) << boxes[2];
  EXPECT_NE(boxes[3].find("\tDebug...Called from MSB_F  345 MSC   12"), std::string::npos)
      << boxes[3];
  EXPECT_NE(boxes[4].find("\tCUST Record:          1"), std::string::npos) << boxes[4];
  EXPECT_NE(boxes[5].find("\tlook.at.CUST"), std::string::npos) << boxes[5];
  EXPECT_NE(boxes[6].find("\tlook at CUST"), std::string::npos) << boxes[6];
  EXPECT_EQ(w.ws().Alias(), "CUST");

  // An evaluated expression that selects another area leaves none selected.
  Mg(w.ctx(), Value(".DBSELECTAREA(0)"));
  EXPECT_EQ(w.ws().Alias(), "CUST");
}

TEST_F(UtilityTest, ChecksShowTheirNotesOnlyWhenFalse) {
  EXPECT_TRUE(CheckIt(w.ctx(), Value(true), "fine").logical());
  EXPECT_FALSE(CheckIt(w.ctx(), Value(false), "Out of range", 3).logical());
  ASSERT_EQ(w.Transcript("NOTE").size(), 1u);
  EXPECT_EQ(w.Transcript("NOTE")[0], "NOTE\tAlert\tOut of range\t3");

  EXPECT_TRUE(CheckData(w.ctx(), "1 < 2", "never").logical());
  EXPECT_FALSE(CheckData(w.ctx(), "1 > 2", "Total too small").logical());
  ASSERT_EQ(w.msgs().size(), 1u);
  EXPECT_EQ(w.msgs()[0].number, 208);
  EXPECT_EQ(w.msgs()[0].text, "Total too small");
}

TEST_F(UtilityTest, ReadItKeepsTheProcessNumberInStep) {
  MakeTable(w, "1.co\\readit",
            {{"RD_DIALOG", 'C', 10}, {"PREPROCESS", 'C', 4}, {"PROCESS", 'C', 4}},
            {{Value("SALE"), Value("S100"), Value("S199")}});
  MakeTable(w, "cust", {{"CODE", 'C', 4}});
  ASSERT_TRUE(Usit(w.ctx(), "cust"));
  w.session().DeclarePublic("PROCESSNO") = Value("none");
  Result<std::shared_ptr<gui::Dialog>> made = w.gui().NewDialog("MSGGET1");
  ASSERT_TRUE(made.ok());
  std::string seen;
  (*made)->on_init = [&](gui::Dialog&) { seen = w.session().Find("PROCESSNO")->str(); };
  w.gui().answers().Push(gui::ParseAnswer("ok").value());
  EXPECT_TRUE(ReadIt(w.ctx(), Value(rt::ObjectRef(*made)), 1, false, Value(), Value()));
  EXPECT_EQ(seen, "S100");
  EXPECT_EQ(w.session().Find("PROCESSNO")->str(), "S199");
  EXPECT_EQ(w.ws().Alias(), "CUST");

  w.session().Assign("PROCESSNO", Value("none"));
  w.gui().answers().Push(gui::ParseAnswer("ok").value());
  ReadIt(w.ctx(), Value(rt::ObjectRef(*made)), 0, false, Value(), Value());
  EXPECT_EQ(w.session().Find("PROCESSNO")->str(), "none") << "record 0 reads empty fields";

  // Called by name: an empty third position is no request to centre.
  struct Centring {
    std::vector<Value> args;
    bool centred;
  };
  const Value dialog{rt::ObjectRef(*made)};
  const Centring cases[] = {
      {{dialog, Value::Int(1)}, false},
      {{dialog, Value::Int(1), Value(), Value()}, false},
      {{dialog, Value::Int(1), Value(true)}, true},
      {{dialog, Value::Int(1), Value(false)}, true},
  };
  for (const Centring& c : cases) {
    (*made)->centred = !c.centred;
    w.gui().answers().Push(gui::ParseAnswer("ok").value());
    std::vector<Value> args = c.args;
    EXPECT_TRUE(rt::Call(w.session(), "READIT", std::span<Value>(args)).logical());
    EXPECT_EQ((*made)->centred, c.centred) << c.args.size();
  }
}

}  // namespace
}  // namespace qv::tables
