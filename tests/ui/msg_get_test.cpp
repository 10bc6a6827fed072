#include "ui/msg_get.h"

#include <gtest/gtest.h>

#include "platform/gui/units.h"
#include "ui_fixture.h"

namespace qv::ui {
namespace {

using testing::UiFixture;

TEST(MsgGetTest, TemplateFollowsTheValueType) {
  struct Case {
    rt::Value value;
    const char* name;
  };
  const Case cases[] = {
      {rt::Value("123456789"), "MSGGET1"},
      {rt::Value("12345678"), "MSGGET3"},
      {rt::Value(""), "MSGGET3"},
      {rt::Value::Int(7), "MSGGET2"},
      {rt::Value(rt::Date::FromYmd(2026, 12, 11)), "MSGGET3"},
      {rt::Value(true), ""},
      {rt::Value(), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(EntryTemplateFor(c.value), c.name);
}

TEST(MsgGetTest, EntryTemplatesHoldTheirMeasures) {
  gui::TemplateRegistry registry;
  RegisterEntryTemplates(registry);
  const gui::DialogTemplate* t = registry.Find("msgget1");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->units, (gui::Rect{0, 0, 301, 59}));
  ASSERT_EQ(t->controls.size(), 3u);
  EXPECT_EQ(t->controls[0].caption, "A&xcept");
  EXPECT_TRUE(t->controls[0].default_button);
  EXPECT_EQ(t->controls[2].units, (gui::Rect{55, 14, 230, 12}));
  EXPECT_EQ(registry.Find("MSGGET2")->controls[1].units, (gui::Rect{63, 29, 50, 14}));
  EXPECT_EQ(registry.Find("MSGGET3")->controls[2].units, (gui::Rect{52, 7, 25, 12}));
}

TEST(MsgGetTest, OutcomesOfEveryWayOfClosing) {
  struct Case {
    std::vector<const char*> answers;
    bool result;
    const char* value;
  };
  const Case cases[] = {
      {{"value abc", "ok"}, true, "abc      "},
      {{"value abc", "esc"}, true, "abc      "},  // Escape stores the edited value
      {{"value abc", "cancel"}, false, "old value"},
      {{"value abc", "close"}, false, "old value"},
      {{}, true, "old value"},  // unattended: the value unchanged, confirmed
  };
  for (const Case& c : cases) {
    UiFixture f;
    for (const char* a : c.answers) f.Queue(a);
    rt::Value value("old value");
    EXPECT_EQ(MsgGet(f.gui, MsgGetRequest{"Title", "", "", EntryFont()}, value), c.result)
        << c.answers.size();
    EXPECT_EQ(value.str(), c.value);
    EXPECT_FALSE(f.gui.KeyDown(gui::Key::kEscape));  // the pulse was read
  }
}

TEST(MsgGetTest, EnterInTheFieldConfirmsEvenWhenTheCloseBoxEndsIt) {
  UiFixture f;
  f.gui.keys().Set(gui::Key::kEnter, true);
  f.Queue("value 42");
  f.Queue("close");
  rt::Value value = rt::Value::Int(1);
  EXPECT_TRUE(MsgGet(f.gui, MsgGetRequest{"Qty", "", "", EntryFont()}, value));
  EXPECT_DOUBLE_EQ(value.num(), 42);
}

TEST(MsgGetTest, TranscriptShowsTitleLabelAndValueBeforeAndAfter) {
  UiFixture f;
  f.Queue("value 01/02/27");
  f.Queue("ok");
  rt::Value value(rt::Date::FromYmd(2026, 12, 11));
  EXPECT_TRUE(MsgGet(f.gui, MsgGetRequest{"Enter the date", "Date:", "", EntryFont()}, value));
  EXPECT_EQ(value.date(), rt::Date::FromYmd(1927, 1, 2));  // default window starts 1900
  EXPECT_EQ(f.Lines(),
            (std::vector<std::string>{"DIALOG\tMSGGET3\tEnter the date", "FIELD\t101\t12/11/26",
                                      "LABEL\t0\tDate:", "ANSWER\tvalue 01/02/27", "ANSWER\tok",
                                      "CLOSED\tMSGGET3\tbutton 1", "FIELD\t101\t01/02/27",
                                      "LABEL\t0\tDate:"}));
}

TEST(MsgGetTest, PictureAppliesToTypedText) {
  UiFixture f;
  f.Queue("value ab-12");
  f.Queue("ok");
  rt::Value value("          ");
  EXPECT_TRUE(MsgGet(f.gui, MsgGetRequest{"Code", "", "@!", EntryFont()}, value));
  EXPECT_EQ(value.str(), "AB-12     ");
}

TEST(MsgGetTest, BlankPromptShowsNoLabelAndOtherTypesShowNothing) {
  UiFixture f;
  rt::Value value("x");
  EXPECT_TRUE(MsgGet(f.gui, MsgGetRequest{"T", "   ", "", EntryFont()}, value));
  for (const std::string& line : f.Lines()) EXPECT_NE(line.rfind("LABEL", 0), 0u) << line;

  UiFixture g;
  rt::Value logical(true);
  EXPECT_FALSE(MsgGet(g.gui, MsgGetRequest{"T", "", "", EntryFont()}, logical));
  EXPECT_TRUE(logical.logical());
  EXPECT_TRUE(g.Lines().empty());
}

TEST(MsgGetStartTest, LabelSitsAtRowPoint45ColumnOneBeforeTheField) {
  gui::TemplateRegistry registry;
  RegisterEntryTemplates(registry);
  gui::Dialog d(*registry.Find("MSGGET1"));
  MsgGetStart(d, "Name:");
  const gui::Control& label = d.controls().back();
  EXPECT_EQ(label.caption, "Name:");
  EXPECT_EQ(label.rect.x, 6);
  EXPECT_EQ(label.rect.y, 8);
  EXPECT_LE(label.rect.x + label.rect.width, d.Find(101)->rect.x);
  const size_t count = d.controls().size();
  MsgGetStart(d, "");
  EXPECT_EQ(d.controls().size(), count);
}

TEST(MsgGetChTest, OnlyEnterDownClosesAndClearsTheFlag) {
  UiFixture f;
  gui::Dialog d(gui::Rect{0, 0, 10, 10}, "t");
  bool cancel = true;
  EXPECT_TRUE(MsgGetCh(f.gui, d, cancel));
  EXPECT_TRUE(cancel);
  EXPECT_FALSE(d.ended());
  f.gui.keys().Set(gui::Key::kEnter, true);
  MsgGetCh(f.gui, d, cancel);
  EXPECT_FALSE(cancel);
  EXPECT_TRUE(d.ended());
}

}  // namespace
}  // namespace qv::ui
