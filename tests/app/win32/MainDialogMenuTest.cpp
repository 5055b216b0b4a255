// The system menu's About item, the tree's context menu and Open in Explorer.

#include <windows.h>

#include "tests/app/win32/MainDialogFixture.h"

namespace {

std::string MenuText(HMENU menu, int position) {
  char text[128] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

// What a timer saw while a menu or a modal box held the thread, and closes it.
struct ModalProbe {
  static bool menuShown;
  static HWND aboutBox;
  static HWND aboutOwner;

  static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    menuShown = FindThreadWindow("#32768", nullptr) != nullptr;
    EndMenu();
  }
  static void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    aboutBox = FindThreadWindow(nullptr, "About Ambrell");
    aboutOwner = GetWindow(aboutBox, GW_OWNER);
    if (aboutBox != nullptr) PostMessageA(aboutBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
};
bool ModalProbe::menuShown = false;
HWND ModalProbe::aboutBox = nullptr;
HWND ModalProbe::aboutOwner = nullptr;

POINT ScreenPointOnRow(const FolderTreeIndex& tree, TreeItem item) {
  RECT text;
  EXPECT_TRUE(tree.GetItemTextRect(item, text));
  POINT point{text.right + 20, (text.top + text.bottom) / 2};  // the blank right of the label
  ClientToScreen(tree.Control().GetSafeHwnd(), &point);
  return point;
}

void SendContextMenu(HWND dialog, HWND target, POINT screenPoint) {
  SendMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(screenPoint.x, screenPoint.y));
}

TEST_F(MainDialogTest, TheSystemMenuEndsWithASeparatorAndTheAboutItem) {
  OpenAndScan();
  const HMENU systemMenu = GetSystemMenu(dialog->GetSafeHwnd(), FALSE);
  ASSERT_NE(systemMenu, nullptr);
  const int count = GetMenuItemCount(systemMenu);
  ASSERT_GE(count, 2);

  EXPECT_EQ(GetMenuState(systemMenu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(MenuText(systemMenu, count - 1), "&About Ambrell...");
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
}

TEST_F(MainDialogTest, TheAboutItemOpensTheAboutBoxOverTheDialog) {
  OpenAndScan();
  ModalProbe::aboutBox = nullptr;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, &ModalProbe::CloseAboutBox);
  // The system keeps the low four bits of a system command for itself.
  SendMessageA(dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
  KillTimer(nullptr, timer);

  ASSERT_NE(ModalProbe::aboutBox, nullptr);
  EXPECT_EQ(ModalProbe::aboutOwner, dialog->GetSafeHwnd());
  EXPECT_FALSE(IsWindow(ModalProbe::aboutBox));  // closed by its OK button
}

TEST_F(MainDialogTest, ARightClickOnARowSelectsItsItemAndShowsTheMenu) {
  OpenAndScan();
  const FolderTreeIndex& tree = dialog->GetTree();
  const TreeItem drive = FindItem(tree, "D:");
  ASSERT_NE(drive, kNoItem);
  SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(tree.NativeOf(tree.GetRootItem())));

  ModalProbe::menuShown = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, &ModalProbe::CloseMenu);
  SendContextMenu(dialog->GetSafeHwnd(), tree.Control().GetSafeHwnd(), ScreenPointOnRow(tree, drive));
  KillTimer(nullptr, timer);

  EXPECT_EQ(tree.GetSelectedItem(), drive);
  EXPECT_TRUE(ModalProbe::menuShown);
}

TEST_F(MainDialogTest, ARightClickBelowTheLastItemShowsNoMenuAndKeepsTheSelection) {
  OpenAndScan();
  const FolderTreeIndex& tree = dialog->GetTree();
  SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(tree.NativeOf(tree.GetRootItem())));
  RECT treeRect;
  GetWindowRect(tree.Control().GetSafeHwnd(), &treeRect);

  SendContextMenu(dialog->GetSafeHwnd(), tree.Control().GetSafeHwnd(),
                  POINT{treeRect.left + 10, treeRect.bottom - 5});
  EXPECT_EQ(tree.GetSelectedItem(), tree.GetRootItem());
}

TEST_F(MainDialogTest, OpenInExplorerOnADriveQuotesItsRoot) {
  OpenAndScan();
  const FolderTreeIndex& tree = dialog->GetTree();
  SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(tree.NativeOf(tree.GetRootItem())));

  SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, ID_OPEN_IN_EXPLORER, 0);
  ASSERT_EQ(processes->commandLines.size(), 1u);
  EXPECT_EQ(processes->commandLines[0], "explorer.exe \"C:\\\"");
}

TEST_F(MainDialogTest, OpenInExplorerPassesANestedFolderWithABlankWhole) {
  OpenAndScan();
  const FolderTreeIndex& tree = dialog->GetTree();
  const TreeItem photos = FindItem(tree, "My Photos");
  ASSERT_NE(photos, kNoItem);
  SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(tree.NativeOf(photos)));

  SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, ID_OPEN_IN_EXPLORER, 0);
  ASSERT_EQ(processes->commandLines.size(), 1u);
  EXPECT_EQ(processes->commandLines[0], "explorer.exe \"C:\\Data\\My Photos\"");
}

TEST_F(MainDialogTest, OpenInExplorerWithoutASelectionStartsNothing) {
  fileSystem = std::make_shared<MemoryFileSystem>();
  OpenAndScan();
  SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, ID_OPEN_IN_EXPLORER, 0);
  EXPECT_TRUE(processes->commandLines.empty());
}

}  // namespace
