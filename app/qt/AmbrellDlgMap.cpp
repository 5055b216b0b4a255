// The window menu's "Show Map": one map window, of the selected folder, whose clicks
// select in the tree.

#include "app/qt/AmbrellDlg.h"
#include "app/qt/FolderTree.h"
#include "app/qt/MapDlg.h"

// The records are the worker's until its completion has been handled.
bool CAmbrellDlg::CanShowMap() const { return !m_scan.IsScanHeld() && m_tree->GetSelectedItem() != kNoItem; }

void CAmbrellDlg::OnShowMap() {
  if (!CanShowMap()) return;
  if (m_map == nullptr) {
    m_map = new MapDlg(this, m_origin.Names(), m_services.locale, m_nUnit,
                       [this](TreeItem folder) { SelectFromMap(folder); });
  }
  m_map->SetUnit(m_nUnit);
  m_map->ShowFolder(*m_tree, m_tree->GetSelectedItem(), m_scan.Session());
  m_map->show();
  m_map->raise();
  m_map->activateWindow();
}

// Its ancestors opened, from the drive down, and the folder scrolled into view.
void CAmbrellDlg::SelectFromMap(TreeItem folder) {
  std::vector<TreeItem> ancestors;
  for (TreeItem up = m_tree->GetParentItem(folder); up != kNoItem; up = m_tree->GetParentItem(up))
    ancestors.push_back(up);
  for (auto up = ancestors.rbegin(); up != ancestors.rend(); ++up) m_tree->expand(m_tree->IndexOf(*up));
  m_tree->SelectItem(folder);
  m_tree->scrollTo(m_tree->IndexOf(folder));
}
