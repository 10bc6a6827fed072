#include <gtest/gtest.h>

#include "platform/gui/script/script_gui.h"
#include "platform/gui/units.h"
#include "script_fixture.h"

namespace qv::gui {
namespace {

using testing::ScriptFixture;
using Lines = std::vector<std::string>;

// A prompt whose buttons record which one closed it.
std::shared_ptr<Dialog> Prompt(ScriptFixture& f, int* closed_by) {
  f.gui.templates().Register(DialogTemplate{
      "ASK",
      "ask",
      Rect{0, 0, 100, 50},
      "MS Sans Serif",
      8,
      {ControlTemplate{1, ControlKind::kButton, Rect{1, 30, 50, 14}, "OK", true},
       ControlTemplate{2, ControlKind::kButton, Rect{50, 30, 50, 14}, "&Cancel", false},
       ControlTemplate{101, ControlKind::kEdit, Rect{1, 1, 90, 12}, "", false}}});
  auto d = f.gui.NewDialog("ask").value();
  d->title = "Quantity";
  d->Find(101)->value = rt::Value::Int(5);
  for (int id : {1, 2}) {
    d->Find(id)->action = [closed_by, id](Dialog& self) {
      *closed_by = id;
      self.End();
    };
  }
  d->default_answer = ParseAnswer("ok").value();
  return d;
}

TEST(ScriptDialogsTest, UnknownTemplateIsNotFound) {
  ScriptFixture f;
  EXPECT_TRUE(f.gui.NewDialog("NOSUCH").status().IsNotFound());
  EXPECT_TRUE(f.gui.NewDialog("msgcancel").ok());  // the layer's own templates
  EXPECT_TRUE(f.gui.NewDialog("DX").ok());
  EXPECT_TRUE(f.gui.NewDialog("MSGreturn").ok());
}

TEST(ScriptDialogsTest, FieldAnswersFillTheDialogUntilAClosingAnswer) {
  ScriptFixture f;
  int closed_by = 0;
  auto d = Prompt(f, &closed_by);
  f.Queue("value 12");
  f.Queue("ok");
  f.gui.RunModal(*d);
  EXPECT_EQ(closed_by, 1);
  EXPECT_DOUBLE_EQ(d->Find(101)->value.num(), 12);
  EXPECT_EQ(f.Lines(), (Lines{"DIALOG\tASK\tQuantity", "FIELD\t101\t         5", "ANSWER\tvalue 12",
                              "ANSWER\tok", "CLOSED\tASK\tbutton 1", "FIELD\t101\t        12"}));
}

TEST(ScriptDialogsTest, WithoutAnswersTheDialogTakesItsDefault) {
  ScriptFixture f;
  int closed_by = 0;
  auto d = Prompt(f, &closed_by);
  f.gui.RunModal(*d);
  EXPECT_EQ(closed_by, 1);
  const Lines lines = f.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2], "ANSWER\tok\t(default)");
}

TEST(ScriptDialogsTest, EscLeavesTheEscapeKeyDownAsTheDialogReturns) {
  ScriptFixture f;
  int closed_by = 0;
  auto d = Prompt(f, &closed_by);
  f.Queue("esc");
  f.gui.RunModal(*d);
  EXPECT_EQ(closed_by, 0);
  EXPECT_EQ(d->close_reason(), CloseReason::kEscape);
  EXPECT_TRUE(f.gui.KeyDown(Key::kEscape));
  EXPECT_FALSE(f.gui.KeyDown(Key::kEscape));  // up again after
}

TEST(ScriptDialogsTest, AnAnswerTheDialogCannotTakeStopsTheRun) {
  ScriptFixture f;
  int closed_by = 0;
  auto d = Prompt(f, &closed_by);
  f.Queue("select 1");
  try {
    f.gui.RunModal(*d);
    FAIL() << "expected the run to stop";
  } catch (const rt::QuitRequest& quit) {
    EXPECT_EQ(quit.exit_code, kExitBadScript);
  }
}

TEST(ScriptDialogsTest, ADialogThatNeverClosesHitsTheDefaultCap) {
  ScriptFixture f;
  int closed_by = 0;
  auto d = Prompt(f, &closed_by);
  d->valid = [](Dialog&) { return false; };  // refuses every way of closing
  try {
    f.gui.RunModal(*d);
    FAIL() << "expected the run to stop";
  } catch (const rt::QuitRequest& quit) {
    EXPECT_EQ(quit.exit_code, kExitRepeatedDefaults);
  }
}

// A note like the self-closing wait note: a label and a 50 ms timer that
// closes it after `ticks` ticks.
std::shared_ptr<Dialog> Note(int ticks) {
  auto d = std::make_shared<Dialog>(TextRectToPixels(0, 0, 6, 50), "WAIT!");
  d->kind = "NOTE";
  Control label;
  label.caption = "Waiting for 2 seconds.";
  d->Add(label);
  auto count = std::make_shared<int>(0);
  const size_t timer = d->AddTimer(50, [count, ticks](Dialog& self) {
    if (++*count >= ticks) self.End();
  });
  d->on_init = [timer](Dialog& self) { self.StartTimer(timer); };
  return d;
}

TEST(ScriptDialogsTest, NotesCloseByTheirTimerAndTakeNoAnswer) {
  ScriptFixture f;
  f.Queue("ok");  // waits for a dialog that takes answers
  auto d = Note(40);
  f.gui.RunModal(*d);
  EXPECT_TRUE(d->ended());
  EXPECT_EQ(f.Lines(), (Lines{"NOTE\tWAIT!\tWaiting for 2 seconds.\t2"}));
  EXPECT_EQ(f.gui.answers().size(), 1u);
}

TEST(ScriptDialogsTest, ANoteWithoutATimerIsClosedRatherThanWaitedFor) {
  ScriptFixture f;
  Dialog d(Rect{0, 0, 10, 10}, "still");
  f.gui.RunModal(d);
  EXPECT_EQ(d.close_reason(), CloseReason::kCloseBox);
  EXPECT_EQ(f.Lines(), (Lines{"NOTE\tstill\t\t0"}));
}

TEST(ScriptDialogsTest, NonModalDialogsShowTextDrawingsAndCanBeCancelled) {
  ScriptFixture f;
  auto d = f.gui.NewDialog("MSGCANCEL").value();
  bool cancelled = false;
  d->Find(101)->action = [&](Dialog&) { cancelled = true; };  // stays open
  d->on_paint = [](Dialog& self) { self.Say(1.99, 10, "Re-indexing", kNavy, Font{}); };
  f.gui.ShowNonModal(d);
  f.gui.PressCancelAfter(2);
  d->Say(3, 10, "Item     5/    20             ", kNavy, Font{});
  f.gui.ProcessPendingMessages();
  EXPECT_FALSE(cancelled);
  f.gui.ProcessPendingMessages();
  EXPECT_TRUE(cancelled);
  EXPECT_FALSE(d->ended());
  f.gui.CloseDialog(*d);
  EXPECT_TRUE(d->ended());
  f.gui.CloseDialog(*d);  // closed already: nothing
  d->Say(3, 10, "after close", kNavy, Font{});
  EXPECT_EQ(f.Lines(), (Lines{"SHOW\tMSGCANCEL\tWorking", "DRAW\tMSGCANCEL\t31\t60\tRe-indexing",
                              "DRAW\tMSGCANCEL\t47\t60\tItem     5/    20             ",
                              "CANCEL_PRESSED\tMSGCANCEL", "CLOSE\tMSGCANCEL"}));
}

TEST(ScriptDialogsTest, AHiddenDialogIsShownAgainWithItsNewText) {
  ScriptFixture f;
  auto d = std::make_shared<Dialog>(Rect{0, 0, 200, 100}, "conversion of");
  d->kind = "PROGRESS";
  Control text;
  text.id = 999;
  text.kind = ControlKind::kMultiEdit;
  text.value = rt::Value("first");
  d->Add(text);
  f.gui.ShowNonModal(d);
  f.gui.HideDialog(*d);
  f.gui.HideDialog(*d);
  d->Find(999)->value = rt::Value("second");
  f.gui.RefreshDialog(*d);  // hidden: nothing to see
  f.gui.ShowNonModal(d);
  f.gui.RefreshDialog(*d);
  EXPECT_EQ(f.Lines(), (Lines{"SHOW\tPROGRESS\tconversion of", "FIELD\t999\tfirst",
                              "HIDE\tPROGRESS", "SHOW\tPROGRESS\tconversion of",
                              "FIELD\t999\tsecond", "TEXT\tPROGRESS\t999\tsecond"}));
}

}  // namespace
}  // namespace qv::gui

namespace qv::gui {
namespace {

TEST(ScriptDialogsLifetimeTest, ADialogOutlivingTheFrontEndStopsReportingToIt) {
  std::shared_ptr<Dialog> kept;
  {
    testing::ScriptFixture f;
    kept = f.gui.NewDialog("MSGCANCEL").value();
    f.gui.ShowNonModal(kept);
  }
  kept->Say(3, 10, "Item 1", kNavy, Font{});  // must not reach the destroyed front end
  EXPECT_EQ(kept->drawings().size(), 1u);
}

TEST(ScriptDialogsFontTest, TemplateFontPointsBecomePixels) {
  testing::ScriptFixture f;
  EXPECT_EQ(f.gui.NewDialog("DX").value()->font.height, -11);  // 8 pt at 96 dpi
}

}  // namespace
}  // namespace qv::gui
