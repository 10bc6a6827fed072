#include "platform/gui/main_window.h"

#include <gtest/gtest.h>

namespace qv::gui {
namespace {

TEST(MenuBuilderTest, NestingFollowsBeginEndPairs) {
  int ran = 0;
  MenuBuilder b;
  b.Begin();
  b.Add("&Install", "", nullptr);
  b.Begin();
  b.Add("&Demo", "Install with demo data", [&] { ++ran; });
  b.Separator();
  b.Add("E&xit", "Leave", [&] { ran += 10; });
  b.End();
  b.Add("&About", "About", [&] { ran += 100; });
  b.End();
  auto menu = b.Finish();
  ASSERT_TRUE(menu.ok());
  ASSERT_EQ(menu.value().size(), 2u);
  ASSERT_EQ(menu.value()[0].items.size(), 3u);
  EXPECT_TRUE(menu.value()[0].items[1].separator);

  const MenuItem* demo = FindMenuItem(menu.value(), SplitMenuPath(" install > DEMO "));
  ASSERT_NE(demo, nullptr);
  EXPECT_EQ(demo->message, "Install with demo data");
  demo->action();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(FindMenuItem(menu.value(), {"Install"}), nullptr);  // a popup is not an item
  EXPECT_EQ(FindMenuItem(menu.value(), {"Install", "Nothing"}), nullptr);
  EXPECT_NE(FindMenuItem(menu.value(), {"About"}), nullptr);
}

TEST(MenuBuilderTest, UnpairedCallsAreRefused) {
  MenuBuilder unclosed;
  unclosed.Begin();
  unclosed.Add("a", "", nullptr);
  EXPECT_TRUE(unclosed.Finish().status().IsInvalidArgument());
  MenuBuilder early;
  early.Add("a", "", nullptr);
  EXPECT_TRUE(early.Finish().status().IsInvalidArgument());
  MenuBuilder extra;
  extra.Begin();
  extra.End();
  extra.End();
  EXPECT_TRUE(extra.Finish().status().IsInvalidArgument());
}

TEST(MenuBuilderTest, PlainCaptionDropsMarkersKeepsDoubledAmpersand) {
  EXPECT_EQ(PlainCaption(" E&xit "), "Exit");
  EXPECT_EQ(PlainCaption("Copy && Paste"), "Copy & Paste");
}

}  // namespace
}  // namespace qv::gui
