// The tree's context menu, Open in Explorer, and the system menu's own items.

#include "app/win32/AboutDlg.h"
#include "app/win32/AmbrellDlg.h"
#include "app/win32/framework/PopupMenu.h"
#include "res/resource.h"
#include "scan/FolderPath.h"

namespace {
constexpr int kKeyboardMenuOffset = 5;
constexpr UINT kSystemCommandMask = 0xFFF0;  // the system's own bits are the low four
}  // namespace

// Returns false to leave the request to the default handling (the caption's
// system menu, say).
bool CAmbrellDlg::OnContextMenu(POINT screenPoint) {
  const TreeItem selected = m_folders.GetSelectedItem();
  if (selected == kNoItem) return false;
  const HWND tree = m_tree.GetSafeHwnd();
  RECT treeRect;
  GetWindowRect(tree, &treeRect);

  const bool fromKeyboard = screenPoint.x == -1 && screenPoint.y == -1;
  if (fromKeyboard && GetFocus() == tree) {
    RECT textRect;
    POINT at{treeRect.left + kKeyboardMenuOffset, treeRect.top + kKeyboardMenuOffset};
    if (m_folders.GetItemTextRect(selected, textRect)) {
      at = POINT{textRect.left, textRect.bottom};
      ClientToScreen(tree, &at);
    }
    ShowContextMenu(at);
    return true;
  }
  if (!PtInRect(&treeRect, screenPoint)) return false;

  POINT clientPoint = screenPoint;
  ScreenToClient(tree, &clientPoint);
  const TreeItem clicked = m_folders.HitTest(clientPoint);
  if (clicked == kNoItem) return true;
  m_folders.SelectItem(clicked);
  ShowContextMenu(screenPoint);
  return true;
}

void CAmbrellDlg::ShowContextMenu(POINT screenPoint) {
  CMenu menu;
  if (!menu.Load(IDR_CONTEXT)) return;
  TrackPopupAt(menu.GetSubMenu(0), screenPoint, m_hWnd);
}

void CAmbrellDlg::OnOpenInExplorer() {
  const CPath folder = FolderPathOf(m_folders, m_folders.GetSelectedItem());
  if (folder.GetCount() != 0) m_origin.OpenFolder(folder);
}

// Records are the worker's until its completion has been handled, so these items wait
// for that; saving needs a tree too, and a folder refresh a folder it can scan.
void CAmbrellDlg::UpdateWindowMenu() {
  const HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
  if (systemMenu == nullptr) return;
  const bool idle = !m_scan.IsScanHeld();
  const bool hasTree = m_folders.GetRootItem() != kNoItem;
  EnableMenuItem(systemMenu, IDM_OPEN_SAVED_SCAN, MF_BYCOMMAND | (idle ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(systemMenu, IDM_SAVE_SCAN, MF_BYCOMMAND | (idle && hasTree ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(systemMenu, IDM_SORT_BY_SIZE, MF_BYCOMMAND | (idle ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(systemMenu, IDM_LARGEST_FILES, MF_BYCOMMAND | (idle ? MF_ENABLED : MF_GRAYED));
  // Finding the selection in the index is a search: once for both items.
  const TreeItem selected = idle ? m_folders.GetSelectedItem() : kNoItem;
  EnableMenuItem(systemMenu, IDM_REFRESH_FOLDER,
                 MF_BYCOMMAND | (CanRefreshFolder(selected) ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(systemMenu, IDM_SHOW_MAP, MF_BYCOMMAND | (CanShowMap(selected) ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(systemMenu, IDM_COMPARE, MF_BYCOMMAND | (idle ? MF_ENABLED : MF_GRAYED));
  const bool bySize = m_scan.Order() == FolderOrder::LargestFirst;
  CheckMenuItem(systemMenu, IDM_SORT_BY_SIZE, MF_BYCOMMAND | (bySize ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(systemMenu, IDM_COMPARE, MF_BYCOMMAND | (m_scan.HasBaseline() ? MF_CHECKED : MF_UNCHECKED));
  ShowSortByChange(systemMenu, idle);
}

// Only while a baseline is loaded, right below Sort by Size.
void CAmbrellDlg::ShowSortByChange(HMENU systemMenu, bool idle) {
  const bool shown = GetMenuState(systemMenu, IDM_SORT_BY_CHANGE, MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (shown && !m_scan.HasBaseline()) DeleteMenu(systemMenu, IDM_SORT_BY_CHANGE, MF_BYCOMMAND);
  if (!m_scan.HasBaseline()) return;
  if (!shown) {
    char text[256] = {};
    LoadStringA(ResourceInstance(), IDS_SORT_BY_CHANGE, text, sizeof text);
    InsertMenuA(systemMenu, IDM_LARGEST_FILES, MF_BYCOMMAND | MF_STRING, IDM_SORT_BY_CHANGE, text);
  }
  EnableMenuItem(systemMenu, IDM_SORT_BY_CHANGE, MF_BYCOMMAND | (idle ? MF_ENABLED : MF_GRAYED));
  const bool byChange = m_scan.Order() == FolderOrder::ByChange;
  CheckMenuItem(systemMenu, IDM_SORT_BY_CHANGE, MF_BYCOMMAND | (byChange ? MF_CHECKED : MF_UNCHECKED));
}

// Choosing an order's item checks it and unchecks the other, or unchecks it.
void CAmbrellDlg::ToggleOrder(FolderOrder order) {
  if (m_scan.IsScanHeld()) return;
  m_scan.SetFolderOrder(m_scan.Order() == order ? FolderOrder::Listed : order);
  UpdateWindowMenu();
}

void CAmbrellDlg::OnRefreshFolder() {
  const TreeItem selected = m_folders.GetSelectedItem();
  if (!CanRefreshFolder(selected)) return;
  UpdateData(true);
  m_scan.SetUnit(m_nUnit);
  m_scan.RefreshFolder(selected);
}

bool CAmbrellDlg::CanRefreshFolder(TreeItem selected) const {
  return !m_scan.IsScanHeld() && selected != kNoItem &&
         m_origin.CanScanFolder(*m_folders.GetItemData(selected));
}

void CAmbrellDlg::OnLargestFiles() {
  if (m_scan.IsScanHeld()) return;
  if (m_largestFiles.GetSafeHwnd() == nullptr && !m_largestFiles.Create(m_hWnd)) return;
  FillLargestFiles();
  ShowWindow(m_largestFiles.GetSafeHwnd(), SW_SHOW);
  SetForegroundWindow(m_largestFiles.GetSafeHwnd());
}

void CAmbrellDlg::FillLargestFiles() {
  if (m_largestFiles.GetSafeHwnd() == nullptr) return;
  const LargestFiles* files = m_scan.FinishedLargestFiles();
  m_largestFiles.ShowRows(files != nullptr
                              ? LargestFileRows(*files, m_nUnit, *m_services.locale, *m_origin.Names())
                              : std::vector<LargestFileRow>());
}

// A folder about to open shows its subfolders in the order chosen; a new selection
// may be a folder to scan again.
void CAmbrellDlg::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_TREE) return;
  if (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW) UpdateWindowMenu();
  if (header.code != TVN_ITEMEXPANDINGA && header.code != TVN_ITEMEXPANDINGW) return;
  // The A and W forms differ only in the items' text, which is not read here.
  const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
  if ((change.action & TVE_EXPAND) != 0) m_folders.OnExpanding(change.itemNew.hItem);
}

bool CAmbrellDlg::OnSysCommand(UINT id) {
  switch (id & kSystemCommandMask) {
    case IDM_ABOUTBOX: {
      CAboutDlg about;
      about.DoModal(m_hWnd);
      return true;
    }
    case IDM_OPEN_SAVED_SCAN:
      OnOpenSavedScan();
      return true;
    case IDM_SAVE_SCAN:
      OnSaveScanAs();
      return true;
    case IDM_SORT_BY_SIZE:
      ToggleOrder(FolderOrder::LargestFirst);
      return true;
    case IDM_SORT_BY_CHANGE:
      if (m_scan.HasBaseline()) ToggleOrder(FolderOrder::ByChange);
      return true;
    case IDM_COMPARE:
      OnCompare();
      return true;
    case IDM_LARGEST_FILES:
      OnLargestFiles();
      return true;
    case IDM_REFRESH_FOLDER:
      OnRefreshFolder();
      return true;
    case IDM_SHOW_MAP:
      OnShowMap();
      return true;
    default:
      return false;
  }
}
