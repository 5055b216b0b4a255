// The tree's context menu with "Open in Explorer", and the window menu with the
// saved scan, order, largest files and folder refresh items and the About item, which a right-click on the
// dialog's own background opens (as the caption's system menu does on Windows).

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>

#include "app/AppTexts.h"
#include "app/qt/AmbrellDlg.h"
#include "app/qt/FolderTree.h"
#include "app/qt/LargestFilesDlg.h"
#include "scan/FolderPath.h"

namespace {

constexpr int kOutOfViewOffset = 5;  // where the menu goes for a selected item scrolled out of view

}  // namespace

void CAmbrellDlg::contextMenuEvent(QContextMenuEvent* event) {
  OnContextMenu(event->globalPos(), event->reason() == QContextMenuEvent::Keyboard);
  event->accept();
}

void CAmbrellDlg::OnContextMenu(const QPoint& screenPoint, bool fromKeyboard) {
  const TreeItem selected = m_tree->GetSelectedItem();
  const QRect treeRect(m_tree->mapToGlobal(QPoint(0, 0)), m_tree->size());
  if (selected != kNoItem && fromKeyboard && m_tree->hasFocus()) {
    QRect textRect;
    if (m_tree->GetItemTextRect(selected, textRect)) {
      // Just below the item's text, at its left edge.
      ShowContextMenu(
          m_tree->viewport()->mapToGlobal(QPoint(textRect.left(), textRect.top() + textRect.height())));
    } else {
      ShowContextMenu(treeRect.topLeft() + QPoint(kOutOfViewOffset, kOutOfViewOffset));
    }
    return;
  }
  if (selected != kNoItem && !fromKeyboard && treeRect.contains(screenPoint)) {
    const TreeItem hit = m_tree->HitTest(m_tree->viewport()->mapFromGlobal(screenPoint));
    if (hit == kNoItem) return;
    m_tree->SelectItem(hit);
    ShowContextMenu(screenPoint);
    return;
  }
  // The dialog's own background: the window menu. Elsewhere, nothing.
  if (!fromKeyboard && childAt(mapFromGlobal(screenPoint)) == nullptr) ShowWindowMenu(screenPoint);
}

void CAmbrellDlg::ShowContextMenu(const QPoint& screenPoint) {
  QMenu menu(this);
  menu.addAction(QStringLiteral(AMBRELL_TEXT_OPEN_IN_EXPLORER), this, &CAmbrellDlg::OnOpenInExplorer);
  m_trackMenu(menu, screenPoint);
}

// The saved scan items act on a finished tree only: records are the worker's until
// its completion has been handled.
void CAmbrellDlg::ShowWindowMenu(const QPoint& screenPoint) {
  QMenu menu(this);
  const bool idle = !m_scan.IsScanHeld();
  menu.addAction(QStringLiteral(AMBRELL_TEXT_OPEN_SAVED_SCAN_ITEM), this, &CAmbrellDlg::OnOpenSavedScan)
      ->setEnabled(idle);
  menu.addAction(QStringLiteral(AMBRELL_TEXT_SAVE_SCAN_ITEM), this, &CAmbrellDlg::OnSaveScanAs)
      ->setEnabled(idle && m_tree->GetRootItem() != kNoItem);
  QAction* bySize = menu.addAction(QStringLiteral(AMBRELL_TEXT_SORT_BY_SIZE_ITEM));
  bySize->setCheckable(true);
  bySize->setChecked(m_scan.Order() == FolderOrder::LargestFirst);
  bySize->setEnabled(idle);
  connect(bySize, &QAction::toggled, this, &CAmbrellDlg::OnSortBySize);
  if (m_scan.HasBaseline()) {
    QAction* byChange = menu.addAction(QStringLiteral(AMBRELL_TEXT_SORT_BY_CHANGE_ITEM));
    byChange->setCheckable(true);
    byChange->setChecked(m_scan.Order() == FolderOrder::ByChange);
    byChange->setEnabled(idle);
    connect(byChange, &QAction::toggled, this, &CAmbrellDlg::OnSortByChange);
  }
  menu.addAction(QStringLiteral(AMBRELL_TEXT_LARGEST_FILES_ITEM), this, &CAmbrellDlg::OnLargestFiles)
      ->setEnabled(idle);
  menu.addAction(QStringLiteral(AMBRELL_TEXT_REFRESH_FOLDER_ITEM), this, &CAmbrellDlg::OnRefreshFolder)
      ->setEnabled(CanRefreshSelectedFolder());
  menu.addAction(QStringLiteral(AMBRELL_TEXT_SHOW_MAP_ITEM), this, &CAmbrellDlg::OnShowMap)
      ->setEnabled(CanShowMap());
  QAction* compare = menu.addAction(QStringLiteral(AMBRELL_TEXT_COMPARE_ITEM), this, &CAmbrellDlg::OnCompare);
  compare->setCheckable(true);
  compare->setChecked(m_scan.HasBaseline());
  compare->setEnabled(idle);
  menu.addSeparator();
  menu.addAction(QStringLiteral(AMBRELL_TEXT_ABOUT_ITEM), this, &CAmbrellDlg::OnAbout);
  m_trackMenu(menu, screenPoint);
}

void CAmbrellDlg::OnOpenInExplorer() {
  const CPath folder = FolderPathOf(*m_tree, m_tree->GetSelectedItem());
  if (folder.GetCount() != 0) m_origin.OpenFolder(folder);
}

// Checking one order unchecks the other.
void CAmbrellDlg::OnSortBySize(bool checked) {
  m_scan.SetFolderOrder(checked ? FolderOrder::LargestFirst : FolderOrder::Listed);
}

void CAmbrellDlg::OnSortByChange(bool checked) {
  m_scan.SetFolderOrder(checked ? FolderOrder::ByChange : FolderOrder::Listed);
}

void CAmbrellDlg::OnRefreshFolder() {
  if (!CanRefreshSelectedFolder()) return;
  m_nUnit = m_units->currentIndex();
  m_scan.SetUnit(m_nUnit);
  m_scan.RefreshFolder(m_tree->GetSelectedItem());
}

bool CAmbrellDlg::CanRefreshSelectedFolder() const {
  if (m_scan.IsScanHeld()) return false;
  const TreeItem selected = m_tree->GetSelectedItem();
  return selected != kNoItem && m_origin.CanScanFolder(*m_tree->GetItemData(selected));
}

void CAmbrellDlg::OnLargestFiles() {
  if (m_largestFiles == nullptr) {
    m_largestFiles = new LargestFilesDlg(
        this, [this](const LargestFileRow& row) { m_origin.ShowFile(row.folder, row.name); },
        [this](QMenu& menu, const QPoint& screenPoint) { m_trackMenu(menu, screenPoint); });
  }
  FillLargestFiles();
  m_largestFiles->show();
  m_largestFiles->raise();
  m_largestFiles->activateWindow();
}

void CAmbrellDlg::FillLargestFiles() {
  if (m_largestFiles == nullptr) return;
  const LargestFiles* files = m_scan.FinishedLargestFiles();
  m_largestFiles->ShowRows(files != nullptr
                               ? LargestFileRows(*files, m_nUnit, *m_services.locale, *m_origin.Names())
                               : std::vector<LargestFileRow>());
}

void CAmbrellDlg::OnAbout() { m_runAboutBox(); }
