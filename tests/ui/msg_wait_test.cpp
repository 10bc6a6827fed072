#include "ui/msg_wait.h"

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/units.h"
#include "platform/runtime/number.h"
#include "ui_fixture.h"

namespace qv::ui {
namespace {

using testing::UiFixture;

TEST(WaitNoteLayoutTest, OneShortLine) {
  const WaitNoteLayout l = LayOutWaitNote("Waiting for 2 seconds.", 0, 0);
  EXPECT_EQ(l.lines, 1);
  EXPECT_EQ(l.width, 22);
  EXPECT_EQ(l.bottom, 6);
  EXPECT_DOUBLE_EQ(l.right, 50);
  EXPECT_EQ(l.dialog, (gui::Rect{0, 0, 395, 90}));   // 50 x 7.9, 6 x 15.1
  EXPECT_EQ(l.label, (gui::Rect{12, 9, 308, 100}));  // column 2, row 0.5; 22 x 14 wide
  // row 6 x (0.20 + 6/80) + 0.1 = 1.75 -> 31; column 50/3.75 = 13.33 x 6 -> 80
  EXPECT_EQ(l.button, (gui::Rect{80, 31, 32, 11}));
}

TEST(WaitNoteLayoutTest, ThreeLinesHaveBottomRowEight) {
  // Lines followed by a break count one more column.
  const WaitNoteLayout l = LayOutWaitNote("abc\r\nabcdefghij\r\nxy", 0, 0);
  EXPECT_EQ(l.lines, 3);
  EXPECT_EQ(l.width, 11);
  EXPECT_EQ(l.bottom, 8);
  EXPECT_EQ(l.label.height, 100);  // MAX(3 x 14, 100)
  // row 8 x (0.2 + 0.1) + 0.1 = 2.5 -> 45
  EXPECT_EQ(l.button.y, 45);
}

TEST(WaitNoteLayoutTest, WideTextAndBitmapWidenTheNote) {
  const std::string line(60, 'x');
  const WaitNoteLayout wide = LayOutWaitNote(line, 0, 0);
  EXPECT_DOUBLE_EQ(wide.right, 60);
  EXPECT_EQ(wide.label.width, 840);
  // column 60/3.75 + 10 x 0.05 = 16.5 -> 99
  EXPECT_EQ(wide.button.x, 99);

  const WaitNoteLayout small_bitmap = LayOutWaitNote("hi", 45, 30);
  EXPECT_DOUBLE_EQ(small_bitmap.bitmap_columns, 4.5);  // not rounded
  EXPECT_EQ(small_bitmap.label.x, 39);                 // column 6.5
  EXPECT_EQ(small_bitmap.bitmap, (gui::Rect{18, 18, 45, 30}));

  const WaitNoteLayout big_bitmap = LayOutWaitNote(line, 300, 200);
  EXPECT_DOUBLE_EQ(big_bitmap.bitmap_columns, 8);
  EXPECT_DOUBLE_EQ(big_bitmap.right, 68);
  EXPECT_EQ(big_bitmap.bitmap, (gui::Rect{18, 18, 120, 120}));
}

TEST(WaitTicksTest, WholeTicksOfFiftyMilliseconds) {
  EXPECT_EQ(WaitTicks(2), 40);
  EXPECT_EQ(WaitTicks(0.2), 4);
  EXPECT_EQ(WaitTicks(5), 100);
  EXPECT_EQ(WaitTicks(0.01), 1);
  EXPECT_EQ(WaitTicks(0), 1);
  EXPECT_EQ(WaitTicks(-3), 1);
}

TEST(MsgWaitTest, DefaultsShowTwoSecondsUnderWait) {
  UiFixture f;
  f.Queue("ok");  // notes take no answer
  MsgWait(f.gui, WaitNote{});
  EXPECT_EQ(f.Lines(), std::vector<std::string>{"NOTE\tWAIT!\tWaiting for 2 seconds.\t2"});
  EXPECT_EQ(f.gui.answers().size(), 1u);
}

TEST(MsgWaitTest, SecondsAsTheCallerWroteThem) {
  UiFixture f;
  MsgWait(f.gui, WaitNote{rt::Value(), rt::Value("Alert"), rt::Value(rt::LiteralNumber("0.20")),
                          rt::Value()});
  EXPECT_EQ(f.Lines(), std::vector<std::string>{"NOTE\tAlert\tWaiting for 0.20 seconds.\t0.2"});
}

TEST(MsgWaitTest, ThreeLinesAreAllShown) {
  UiFixture f;
  MsgWait(f.gui, WaitNote{rt::Value("one\r\ntwo\r\nthree"), rt::Value("T"), rt::Value::Int(1),
                          rt::Value()});
  EXPECT_EQ(f.Lines(), std::vector<std::string>{"NOTE\tT\tone\\r\\ntwo\\r\\nthree\t1"});
}

TEST(MsgWaitTest, AMissingBitmapShowsNoBitmapAndTheLabelStartsAtColumnTwo) {
  UiFixture f;  // its reader finds nothing
  auto note = BuildWaitNote(
      f.gui, WaitNote{rt::Value("x"), rt::Value(), rt::Value(), rt::Value("  nothere.bmp  ")});
  EXPECT_EQ(note->FirstOf(gui::ControlKind::kBitmap), nullptr);
  EXPECT_EQ(note->FirstOf(gui::ControlKind::kStatic)->rect.x, gui::TextColumnToPixels(2));
}

TEST(MsgWaitTest, AnExistingBitmapIsShownAndMovedOnInit) {
  std::string asked;
  gui::GuiOptions options;
  options.files = [&](std::string_view path) -> Result<std::string> {
    asked = std::string(path);
    return gui::EncodeBmp(200, 50, [](int, int) { return 0u; });
  };
  std::ostringstream out;
  gui::ScriptGui g(options, gui::ScriptOptions{&out, true, nullptr});
  auto note = BuildWaitNote(
      g, WaitNote{rt::Value("x"), rt::Value(), rt::Value(), rt::Value(" fw\\relax.bmp ")});
  EXPECT_EQ(asked, "fw\\relax.bmp");
  gui::Control* picture = note->FirstOf(gui::ControlKind::kBitmap);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(note->FirstOf(gui::ControlKind::kStatic)->rect.x, gui::TextColumnToPixels(10));
  note->Shown();
  EXPECT_EQ(picture->rect, (gui::Rect{18, 18, 120, 50}));
  EXPECT_TRUE(note->HasActiveTimer());
}

TEST(MsgWaitTest, TheExitButtonClosesAndStopsTheTimer) {
  UiFixture f;
  auto note = BuildWaitNote(f.gui, WaitNote{});
  note->Shown();
  ASSERT_TRUE(note->Press(1));
  EXPECT_TRUE(note->ended());
  EXPECT_FALSE(note->HasActiveTimer());
}

TEST(MsgWaitTest, TheTimerClosesAfterTheSeconds) {
  UiFixture f;
  auto note =
      BuildWaitNote(f.gui, WaitNote{rt::Value("x"), rt::Value(), rt::Value::Int(1), rt::Value()});
  note->Shown();
  for (int i = 0; i < 19; ++i) note->Tick(0);
  EXPECT_FALSE(note->ended());
  note->Tick(0);
  EXPECT_TRUE(note->ended());
}

}  // namespace
}  // namespace qv::ui
