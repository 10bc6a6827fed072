#include "platform/gui/units.h"

#include <gtest/gtest.h>

namespace qv::gui {
namespace {

TEST(UnitsTest, DialogUnitsUseTheTemplateFontCell) {
  // 50 x 14 buttons: 75 x 23 pixels with a 6 x 13 character cell.
  EXPECT_EQ(DialogUnitsToPixels(Rect{12, 38, 50, 14}), (Rect{18, 62, 75, 23}));
  EXPECT_EQ(DialogUnitsToPixelsX(301), 452);  // 451.5 rounds up
  EXPECT_EQ(DialogUnitsToPixelsY(59), 96);    // 95.875
  EXPECT_EQ(DialogUnitsToPixelsX(0), 0);
}

TEST(UnitsTest, TextUnitsRoundDown) {
  // A note of 8 rows by 50 columns.
  EXPECT_EQ(TextRectToPixels(0, 0, 8, 50), (Rect{0, 0, 395, 120}));
  EXPECT_EQ(TextRowToPixels(0.45), 8);  // 6.75 + 2
  EXPECT_EQ(TextColumnToPixels(1), 6);
  EXPECT_EQ(TextRowToPixels(1.99), 31);  // 29.85 + 2
  EXPECT_EQ(ButtonRowToPixels(6.2), 111);
  EXPECT_EQ(ButtonColumnToPixels(13.33), 79);
}

TEST(UnitsTest, MainWindowGridIsSixteenByEight) {
  EXPECT_EQ(WindowRectToPixels(6, 25, 32, 77), (Rect{200, 96, 416, 416}));
}

}  // namespace
}  // namespace qv::gui
