#pragma once
// The map window: the selected folder's subfolders as nested blocks, painted
// with QPainter over MapWindowState, which decides what is shown. A click
// selects the folder in the main tree, a double-click maps it, Backspace maps
// the parent, Escape closes; hovering shows the path and total.

#include <QDialog>
#include <functional>
#include <memory>

#include "app/MapWindowState.h"

class MapDlg : public QDialog {
 public:
  using FolderSelector = std::function<void(TreeItem folder)>;

  MapDlg(QWidget* parent, std::shared_ptr<const DisplayText> display, std::shared_ptr<NumberLocale> locale,
         int unit, FolderSelector select);

  // Maps the tree's folder, keeping the session while it shows it.
  void ShowFolder(const TreeView& tree, TreeItem folder, SharedScanSession session);
  // A scan starts: nothing is shown and nothing of the scan held but the path.
  void DropScan();
  // A scan ended: the same path mapped again, or the window closed when it is gone.
  void OnScanEnded(const TreeView& tree, SharedScanSession session);
  void SetUnit(int unit);
  const MapWindowState& State() const { return m_state; }

  void done(int result) override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void LayOut();
  void ShowChange();

  MapWindowState m_state;
  FolderSelector m_select;
};
