// The system menu's "Show Map": one map window, of the selected folder, whose clicks
// select in the tree.

#include "app/win32/AmbrellDlg.h"

// The records are the worker's until its completion has been handled.
bool CAmbrellDlg::CanShowMap(TreeItem selected) const { return !m_scan.IsScanHeld() && selected != kNoItem; }

void CAmbrellDlg::OnShowMap() {
  const TreeItem selected = m_folders.GetSelectedItem();
  if (!CanShowMap(selected)) return;
  if (m_map.GetSafeHwnd() == nullptr && !m_map.Create(m_hWnd)) return;
  m_map.SetUnit(m_nUnit);
  m_map.ShowFolder(m_folders, selected, m_scan.Session());
  ShowWindow(m_map.GetSafeHwnd(), SW_SHOW);
  SetForegroundWindow(m_map.GetSafeHwnd());
}

// Selecting the control's item opens its ancestors; it is then scrolled into view.
void CAmbrellDlg::SelectFromMap(TreeItem folder) {
  const HTREEITEM native = m_folders.NativeOf(folder);
  if (native == nullptr) return;
  SendMessageA(m_tree.GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(native));
  SendMessageA(m_tree.GetSafeHwnd(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(native));
}
