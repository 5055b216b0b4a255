// Resizing: the tree follows the window, the bottom row keeps to the bottom
// edge with the template's margins, and the window keeps a minimum size.

#include <windows.h>

#include "tests/app/win32/MainDialogFixture.h"

namespace {

RECT ClientRectOf(HWND dialog, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(MainDialogTest, TheWindowCannotBeMadeSmallerThan250By250) {
  OpenAndScan();
  MINMAXINFO info = {};
  SendMessageA(dialog->GetSafeHwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 250);
  EXPECT_EQ(info.ptMinTrackSize.y, 250);
}

TEST_F(MainDialogTest, ResizingKeepsTheTemplatesMarginsAroundTheTreeAndTheBottomRow) {
  OpenAndScan();
  const HWND window = dialog->GetSafeHwnd();
  const RECT tree = ClientRectOf(window, Item(IDC_TREE));
  const int margin = tree.left;
  const RECT close = ClientRectOf(window, Item(IDC_CLOSE));
  const int buttonHeight = close.bottom - close.top;

  SetWindowPos(window, nullptr, 0, 0, 700, 520, SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(window, &client);
  const RECT newTree = ClientRectOf(window, Item(IDC_TREE));
  const RECT newClose = ClientRectOf(window, Item(IDC_CLOSE));
  const RECT newRefresh = ClientRectOf(window, Item(IDC_REFRESH));
  const RECT newUnits = ClientRectOf(window, Item(IDC_UNITS));

  EXPECT_EQ(newTree.left, tree.left);
  EXPECT_EQ(newTree.top, tree.top);
  EXPECT_EQ(newTree.right, client.right - margin);
  EXPECT_EQ(newTree.bottom, client.bottom - 2 * tree.top - buttonHeight);
  EXPECT_EQ(newClose.right, client.right - margin);
  EXPECT_EQ(newClose.bottom, client.bottom - tree.top);
  EXPECT_EQ(newRefresh.right, newClose.left - margin);
  EXPECT_EQ(newRefresh.top, newClose.top);
  EXPECT_EQ(newUnits.left, margin);
  EXPECT_EQ(newUnits.top, newClose.top);
}

TEST_F(MainDialogTest, TheGripAnswersAsTheBottomRightCornerUnlessMaximised) {
  OpenAndScan();
  const HWND window = dialog->GetSafeHwnd();
  RECT client;
  GetClientRect(window, &client);
  POINT corner{client.right - 2, client.bottom - 2};
  ClientToScreen(window, &corner);

  EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTBOTTOMRIGHT);
  SendMessageA(window, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(client.right, client.bottom));
  EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTCLIENT);
  SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTBOTTOMRIGHT);
}

TEST_F(MainDialogTest, TheDragIconIsTheSmallProgramIcon) {
  OpenAndScan();
  EXPECT_NE(SendMessageA(dialog->GetSafeHwnd(), WM_QUERYDRAGICON, 0, 0), 0);
  EXPECT_EQ(SendMessageA(dialog->GetSafeHwnd(), WM_GETICON, ICON_SMALL, 0),
            SendMessageA(dialog->GetSafeHwnd(), WM_QUERYDRAGICON, 0, 0));
}

}  // namespace
