#include "platform/gui/dialog.h"

#include <gtest/gtest.h>

#include "platform/gui/units.h"

namespace qv::gui {
namespace {

// A prompt laid out like the program's entry templates: OK 1, Cancel 2,
// entry field 101.
DialogTemplate PromptTemplate() {
  return DialogTemplate{
      "PROMPT",
      "prompt",
      Rect{0, 0, 137, 62},
      "MS Sans Serif",
      8,
      {ControlTemplate{1, ControlKind::kButton, Rect{3, 29, 50, 14}, "OK", true},
       ControlTemplate{2, ControlKind::kButton, Rect{63, 29, 50, 14}, "Cancel", false},
       ControlTemplate{101, ControlKind::kEdit, Rect{31, 5, 90, 12}, "", false}}};
}

TEST(DialogTest, TemplateControlsArePlacedInPixels) {
  Dialog d(PromptTemplate());
  EXPECT_EQ(d.kind, "PROMPT");
  EXPECT_EQ(d.rect, DialogUnitsToPixels(Rect{0, 0, 137, 62}));
  ASSERT_NE(d.Find(101), nullptr);
  EXPECT_EQ(d.Find(101)->rect, DialogUnitsToPixels(Rect{31, 5, 90, 12}));
  EXPECT_TRUE(d.Find(1)->default_button);
  EXPECT_EQ(d.Find(7), nullptr);
}

TEST(DialogTest, EndRunsFieldValidsThenTheDialogValid) {
  Dialog d(PromptTemplate());
  std::vector<std::string> order;
  d.Find(101)->valid = [&](Dialog&) {
    order.push_back("field");
    return true;
  };
  bool allow = false;
  d.valid = [&](Dialog&) {
    order.push_back("dialog");
    return allow;
  };
  d.End();
  EXPECT_FALSE(d.ended());  // refused
  allow = true;
  d.PressCloseBox();
  EXPECT_TRUE(d.ended());
  EXPECT_EQ(d.close_reason(), CloseReason::kCloseBox);
  EXPECT_EQ(order, (std::vector<std::string>{"field", "dialog", "field", "dialog"}));
}

TEST(DialogTest, AFieldValidThatEndsTheDialogWhileClosingIsHarmless) {
  Dialog d(PromptTemplate());
  int runs = 0;
  d.Find(101)->valid = [&](Dialog& self) {
    ++runs;
    self.End();
    return true;
  };
  d.PressEscape();
  EXPECT_TRUE(d.ended());
  EXPECT_EQ(d.close_reason(), CloseReason::kEscape);
  EXPECT_EQ(runs, 1);
}

TEST(DialogTest, PressRunsOnlyEnabledButtonsOfAnOpenDialog) {
  Dialog d(PromptTemplate());
  int pressed = 0;
  d.Find(1)->action = [&](Dialog& self) {
    ++pressed;
    self.End();
  };
  d.Find(2)->enabled = false;
  EXPECT_FALSE(d.Press(2));
  EXPECT_FALSE(d.Press(101));  // not a button
  EXPECT_TRUE(d.Press(1));
  EXPECT_EQ(d.last_pressed(), 1);
  EXPECT_FALSE(d.Press(1));  // ended
  EXPECT_EQ(pressed, 1);
}

TEST(DialogTest, ShownRunsInitThenStartOnce) {
  Dialog d(Rect{0, 0, 100, 100}, "t");
  std::string order;
  d.on_init = [&](Dialog&) { order += "i"; };
  d.on_start = [&](Dialog&) { order += "s"; };
  d.Shown();
  d.Shown();
  EXPECT_EQ(order, "is");
}

TEST(DialogTest, EveryWayOfClosingStopsTheTimers) {
  Dialog d(Rect{0, 0, 100, 100}, "t");
  int ticks = 0;
  const size_t t = d.AddTimer(50, [&](Dialog&) { ++ticks; });
  d.Tick(t);
  EXPECT_EQ(ticks, 0);  // not started
  d.StartTimer(t);
  d.Tick(t);
  EXPECT_TRUE(d.HasActiveTimer());
  d.PressEscape();
  EXPECT_FALSE(d.HasActiveTimer());
  d.Tick(t);
  EXPECT_EQ(ticks, 1);
}

TEST(DialogTest, TextAtTheSamePlaceReplacesTheEarlierText) {
  Dialog d(Rect{0, 0, 100, 100}, "t");
  std::vector<std::string> seen;
  d.on_draw = [&](Dialog&, const Drawing& drawing) { seen.push_back(drawing.text); };
  d.Say(3, 10, "Item 1", kNavy, Font{});
  d.Say(3, 10, "Item 2", kNavy, Font{});
  d.Say(1.99, 10, "text", kNavy, Font{});
  ASSERT_EQ(d.drawings().size(), 2u);
  EXPECT_EQ(d.drawings()[0].text, "Item 2");
  EXPECT_EQ(d.drawings()[0].y, TextRowToPixels(3));
  EXPECT_EQ(seen.size(), 3u);
}

class ApplyAnswerTest : public ::testing::Test {
 protected:
  ApplyAnswerTest() : d(PromptTemplate()) {
    d.Find(101)->value = rt::Value("old       ");
    d.Find(1)->action = [this](Dialog& self) {
      pressed.push_back(1);
      self.End();
    };
    d.Find(2)->action = [this](Dialog& self) {
      pressed.push_back(2);
      self.End();
    };
  }
  Status Apply(const char* line) {
    return ApplyAnswer(d, ParseAnswer(line).value(), rt::DateSettings{1939}, keys);
  }
  Dialog d;
  KeyState keys;
  std::vector<int> pressed;
};

TEST_F(ApplyAnswerTest, ValueFillsTheFieldAndStaysOpen) {
  ASSERT_TRUE(Apply("value new").ok());
  EXPECT_EQ(d.Find(101)->value.str(), "new       ");
  EXPECT_FALSE(d.ended());
  ASSERT_TRUE(Apply("ok").ok());
  EXPECT_EQ(pressed, std::vector<int>{1});
}

TEST_F(ApplyAnswerTest, EscPulsesTheEscapeKeyAndCloseUsesTheCloseBox) {
  ASSERT_TRUE(Apply("esc").ok());
  EXPECT_EQ(d.close_reason(), CloseReason::kEscape);
  EXPECT_TRUE(keys.Down(Key::kEscape));
  EXPECT_TRUE(pressed.empty());
  Dialog other(PromptTemplate());
  ASSERT_TRUE(ApplyAnswer(other, ParseAnswer("close").value(), {}, keys).ok());
  EXPECT_EQ(other.close_reason(), CloseReason::kCloseBox);
}

TEST_F(ApplyAnswerTest, AnswersThatDoNotFitLeaveTheDialogAlone) {
  for (const char* line : {"yes", "retry", "button 103", "drive C", "select 1", "shortcut on"}) {
    EXPECT_TRUE(Apply(line).IsInvalidArgument()) << line;
  }
  EXPECT_FALSE(d.ended());
  EXPECT_EQ(d.Find(101)->value.str(), "old       ");
}

TEST(ApplyAnswerListTest, DriveSelectAndShortcutFillTheirControls) {
  Dialog d(Rect{0, 0, 100, 100}, "dest");
  Control drives;
  drives.id = 101;
  drives.kind = ControlKind::kListBox;
  drives.items = {"C", "D", "E"};
  drives.selected = {true, false, false};
  d.Add(drives);
  Control files;
  files.id = 102;
  files.kind = ControlKind::kMultiListBox;
  files.items = {"a", "b", "c"};
  files.selected = {false, false, false};
  d.Add(files);
  Control box;
  box.id = 103;
  box.kind = ControlKind::kCheckBox;
  d.Add(box);
  KeyState keys;
  const rt::DateSettings dates;
  ASSERT_TRUE(ApplyAnswer(d, ParseAnswer("drive e").value(), dates, keys).ok());
  EXPECT_EQ(d.Find(101)->Selections(), std::vector<int>{3});
  ASSERT_TRUE(ApplyAnswer(d, ParseAnswer("select 3,1").value(), dates, keys).ok());
  EXPECT_EQ(d.Find(102)->Selections(), (std::vector<int>{1, 3}));
  EXPECT_TRUE(ApplyAnswer(d, ParseAnswer("select 4").value(), dates, keys).IsInvalidArgument());
  EXPECT_EQ(d.Find(102)->Selections(), (std::vector<int>{1, 3}));
  EXPECT_TRUE(ApplyAnswer(d, ParseAnswer("drive Q").value(), dates, keys).IsInvalidArgument());
  ASSERT_TRUE(ApplyAnswer(d, ParseAnswer("shortcut on").value(), dates, keys).ok());
  EXPECT_TRUE(d.Find(103)->checked);
  d.Find(103)->enabled = false;
  EXPECT_TRUE(ApplyAnswer(d, ParseAnswer("shortcut off").value(), dates, keys).IsInvalidArgument());
}

}  // namespace
}  // namespace qv::gui
