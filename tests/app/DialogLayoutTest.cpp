#include <gtest/gtest.h>

#include "app/DialogLayout.h"

namespace {

using dialog_layout::ApplyAnchors;
using dialog_layout::Margins;
using dialog_layout::Rect;

// The template in pixels at 1.5 by 2 pixels a unit, then grown to 600 by 400.
TEST(DialogLayout, TheTreeFollowsTheWindowAndTheBottomRowKeepsToItsCorners) {
  Rect controls[dialog_layout::kMainControlCount] = {
      {10, 14, 399, 400}, {10, 428, 97, 22}, {249, 428, 75, 28}, {334, 428, 75, 28}};
  const Margins margins{10, 14, 28};
  ApplyAnchors(controls, margins, 600, 400);

  const Rect& tree = controls[dialog_layout::kTree];
  const Rect& units = controls[dialog_layout::kUnits];
  const Rect& refresh = controls[dialog_layout::kRefresh];
  const Rect& close = controls[dialog_layout::kClose];
  EXPECT_EQ(tree.x, 10);
  EXPECT_EQ(tree.y, 14);
  EXPECT_EQ(tree.x + tree.cx, 600 - 10);
  EXPECT_EQ(close.x + close.cx, 600 - 10);
  EXPECT_EQ(close.y + close.cy, 400 - 14);
  EXPECT_EQ(tree.y + tree.cy, close.y - 14);
  EXPECT_EQ(refresh.x + refresh.cx, close.x - 10);
  EXPECT_EQ(refresh.y, close.y);
  EXPECT_EQ(units.x, 10);
  EXPECT_EQ(units.y, close.y);
  EXPECT_EQ(units.cy, 22);  // moved, never resized
}

// Refresh keeps a margin from Close whatever either's width (a wider translation).
TEST(DialogLayout, RefreshSitsAMarginLeftOfCloseOfAnyWidth) {
  Rect controls[dialog_layout::kMainControlCount] = {
      {7, 7, 266, 200}, {7, 214, 65, 20}, {100, 214, 90, 14}, {200, 214, 40, 14}};
  ApplyAnchors(controls, Margins{7, 7, 14}, 500, 300);
  EXPECT_EQ(controls[dialog_layout::kClose].x, 500 - 7 - 40);
  EXPECT_EQ(controls[dialog_layout::kRefresh].x, 500 - 7 - 40 - 7 - 90);
}

TEST(DialogLayout, AWindowSmallerThanItsMarginsGivesNoNegativeSize) {
  Rect controls[dialog_layout::kMainControlCount] = {
      {7, 7, 266, 200}, {7, 214, 65, 20}, {166, 214, 50, 14}, {223, 214, 50, 14}};
  ApplyAnchors(controls, Margins{7, 7, 14}, 5, 5);
  EXPECT_EQ(controls[dialog_layout::kTree].cx, 0);
  EXPECT_EQ(controls[dialog_layout::kTree].cy, 0);
}

}  // namespace
