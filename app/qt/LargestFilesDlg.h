#pragma once
// The window of the largest files: one row a file, largest first, opened from
// the main dialog's window menu. Activating a row (Enter, a double-click, or
// "Open in Explorer" on its context menu) shows the file in the file browser.

#include <QDialog>
#include <functional>
#include <vector>

#include "app/LargestFileRows.h"

class QListWidget;
class QMenu;

class LargestFilesDlg : public QDialog {
 public:
  using RowOpener = std::function<void(const LargestFileRow& row)>;
  using MenuTracker = std::function<void(QMenu& menu, const QPoint& screenPoint)>;

  LargestFilesDlg(QWidget* parent, RowOpener open, MenuTracker trackMenu);

  // The rows shown from now on; none while a scan runs.
  void ShowRows(std::vector<LargestFileRow> rows);
  QListWidget& List() const { return *m_list; }

 private:
  void OpenRow(int row);
  void ShowContextMenu(const QPoint& listPoint);

  QListWidget* m_list;
  std::vector<LargestFileRow> m_rows;
  RowOpener m_open;
  MenuTracker m_trackMenu;
};
