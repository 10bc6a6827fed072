#include "ui/dialog_helpers.h"

#include <gtest/gtest.h>

#include "platform/runtime/text.h"
#include "ui_fixture.h"

namespace qv::ui {
namespace {

using testing::UiFixture;

// Work areas as the table engine's routines show them: a current alias and
// the aliases still open, with their area numbers.
struct FakeAreas {
  std::string current;
  std::map<std::string, int> open;
  std::vector<int> selected;

  void Register(rt::Session& session) {
    session.procedures().Register(
        "ALIAS", [this](rt::Session&, std::span<rt::Value>) { return rt::Value(current); });
    session.procedures().Register("SELECT", [this](rt::Session&, std::span<rt::Value> args) {
      auto it = open.find(rt::Upper(args[0].str()));
      return rt::Value::Int(it == open.end() ? 0 : it->second);
    });
    session.procedures().Register("DBSELECTAREA", [this](rt::Session&, std::span<rt::Value> args) {
      selected.push_back(static_cast<int>(args[0].num()));
      return rt::Value();
    });
  }
};

TEST(MsgInformationTest, ShowsTheTextAndSelectsTheCallersAreaAgain) {
  UiFixture f;
  rt::Session session;
  FakeAreas areas{"CUST", {{"CUST", 3}}, {}};
  areas.Register(session);
  EXPECT_TRUE(MsgInformation(f.gui, session, "Done."));
  EXPECT_EQ(areas.selected, std::vector<int>{3});
  EXPECT_EQ(f.Lines(), std::vector<std::string>{"MESSAGE\tinformation\tInformation\tDone."});
}

TEST(MsgInformationTest, NothingIsSelectedWhenTheAliasIsGoneOrThereWasNone) {
  UiFixture f;
  rt::Session session;
  FakeAreas gone{"CUST", {}, {}};
  gone.Register(session);
  MsgInformation(f.gui, session, "x");
  EXPECT_TRUE(gone.selected.empty());
  FakeAreas none{"", {{"CUST", 3}}, {}};
  none.Register(session);
  MsgInformation(f.gui, session, "x");
  EXPECT_TRUE(none.selected.empty());
  rt::Session bare;  // no table engine at all
  EXPECT_TRUE(MsgInformation(f.gui, bare, "x"));
}

TEST(HhCtrlTest, StoresTheActiveWindowInAPublic) {
  UiFixture f;
  rt::Session session;
  EXPECT_TRUE(HhCtrl(f.gui, session));
  ASSERT_NE(session.Find("HHCTRL"), nullptr);
  EXPECT_DOUBLE_EQ(session.Find("HHCTRL")->num(), 0);  // no window open
  f.gui.OpenMainWindow(gui::MainWindow{});
  HhCtrl(f.gui, session);
  EXPECT_DOUBLE_EQ(session.Find("HHCTRL")->num(), 1);
}

class ListSelAllTest : public ::testing::Test {
 protected:
  ListSelAllTest() : dialog(gui::Rect{0, 0, 10, 10}, "DX") {
    gui::Control c;
    c.id = 101;
    c.kind = gui::ControlKind::kMultiListBox;
    c.items = {"a", "b", "c"};
    c.selected = {false, true, false};
    list = &dialog.Add(c);
  }
  UiFixture f;
  gui::Dialog dialog;
  gui::Control* list;
};

TEST_F(ListSelAllTest, AFirstPressSelectsAllTheNextDeselectsAll) {
  bool flag = true;
  ListSelAll(f.gui, dialog, *list, 3, flag);
  EXPECT_EQ(list->Selections(), (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(flag);
  ListSelAll(f.gui, dialog, *list, 3, flag);
  EXPECT_TRUE(list->Selections().empty());
  EXPECT_TRUE(flag);
  EXPECT_EQ(dialog.focus_id, 101);
}

TEST_F(ListSelAllTest, AnEmptyItemListOnlyFlipsTheFlag) {
  bool flag = true;
  ListSelAll(f.gui, dialog, *list, 0, flag);
  EXPECT_FALSE(flag);
  EXPECT_EQ(list->Selections(), std::vector<int>{2});
  ListSelAll(f.gui, dialog, *list, 0, flag);
  EXPECT_TRUE(flag);
  EXPECT_EQ(list->Selections(), std::vector<int>{2});
}

TEST_F(ListSelAllTest, CountsBeyondTheListAreIgnored) {
  bool flag = true;
  ListSelAll(f.gui, dialog, *list, 10, flag);
  EXPECT_EQ(list->Selections(), (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace qv::ui
