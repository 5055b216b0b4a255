/* The dialog templates' geometry, in dialog units, and how the main dialog's controls
   follow its size. The Windows resource script includes this file for the numbers; both
   front ends place their controls from the same numbers and apply the same anchors. */
#ifndef AMBRELL_DIALOG_LAYOUT_H
#define AMBRELL_DIALOG_LAYOUT_H

/* x, y, width, height */
#define AMBRELL_MAIN_DIALOG 0, 0, 280, 235
#define AMBRELL_MAIN_TREE 7, 7, 266, 200
#define AMBRELL_MAIN_UNITS 7, 214, 65, 56 /* the height is the dropped list's */
#define AMBRELL_MAIN_REFRESH 166, 214, 50, 14
#define AMBRELL_MAIN_CLOSE 223, 214, 50, 14

#define AMBRELL_ABOUT_DIALOG 0, 0, 212, 52
#define AMBRELL_ABOUT_ICON 10, 10, 20, 20
#define AMBRELL_ABOUT_VERSION 40, 10, 125, 20
#define AMBRELL_ABOUT_HOME_PAGE 40, 35, 125, 8
#define AMBRELL_ABOUT_OK 175, 10, 30, 14

#ifndef RC_INVOKED
#ifdef __cplusplus

#include <cstddef>

namespace dialog_layout {

struct Rect {
  int x, y, cx, cy;
};

constexpr Rect kMainDialog{AMBRELL_MAIN_DIALOG};
constexpr Rect kAboutDialog{AMBRELL_ABOUT_DIALOG};
constexpr Rect kAboutIcon{AMBRELL_ABOUT_ICON};
constexpr Rect kAboutVersion{AMBRELL_ABOUT_VERSION};
constexpr Rect kAboutHomePage{AMBRELL_ABOUT_HOME_PAGE};
constexpr Rect kAboutOk{AMBRELL_ABOUT_OK};

// The main dialog's controls, in the order of kMainTemplate and kMainAnchors.
enum MainControl { kTree, kUnits, kRefresh, kClose, kMainControlCount };
constexpr Rect kMainTemplate[kMainControlCount] = {
    {AMBRELL_MAIN_TREE}, {AMBRELL_MAIN_UNITS}, {AMBRELL_MAIN_REFRESH}, {AMBRELL_MAIN_CLOSE}};

enum class Horizontal {
  Fill,             // from where it is to a margin from the right edge
  Keep,             // where it is
  MarginFromRight,  // its right edge a margin from the right edge
  MarginLeftOf,     // its right edge a margin left of another control
};
enum class Vertical {
  FillAboveRow,  // from where it is to a margin above the bottom row
  BottomRow,     // in the row a margin above the bottom edge
};
struct Anchor {
  Horizontal horizontal;
  Vertical vertical;
  int other;  // the control MarginLeftOf refers to; placed before this one
};

// The tree follows the window; the unit list keeps the bottom left, Close the bottom
// right, and Refresh sits a margin left of Close whatever either's width.
constexpr Anchor kMainAnchors[kMainControlCount] = {
    {Horizontal::Fill, Vertical::FillAboveRow, 0},
    {Horizontal::Keep, Vertical::BottomRow, 0},
    {Horizontal::MarginLeftOf, Vertical::BottomRow, kClose},
    {Horizontal::MarginFromRight, Vertical::BottomRow, 0},
};
// Whether the anchor changes the control's size, or only moves it.
constexpr bool Stretches(const Anchor& anchor) {
  return anchor.horizontal == Horizontal::Fill || anchor.vertical == Vertical::FillAboveRow;
}

// The order in which the anchors are applied: a control after the one it refers to.
constexpr int kMainPlacingOrder[kMainControlCount] = {kClose, kRefresh, kUnits, kTree};

// In pixels, measured from the dialog's first layout.
struct Margins {
  int x = 0;  // 0: not measured yet
  int y = 0;
  int rowHeight = 0;  // the bottom row's buttons
};

// Moves and sizes the controls (in pixels, client coordinates) for a client area of
// cx by cy. Each keeps its own width or height where its anchor does not stretch it.
void ApplyAnchors(Rect (&controls)[kMainControlCount], const Margins& margins, int cx, int cy);

}  // namespace dialog_layout

#endif
#endif
#endif
