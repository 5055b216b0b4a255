#pragma once
// The main dialog: the folder tree, the unit list, Refresh/Abort and Close.
// It scans at once when it opens; a scan runs on a worker thread whose
// insertions and completion reach the GUI thread through a mailbox, so the
// GUI thread never waits for the worker while the worker waits for it.

#include <QDialog>
#include <QPoint>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogLayout.h"
#include "app/InsertionBatch.h"
#include "app/ScanController.h"
#include "app/ScanMailbox.h"
#include "app/ScanOrigin.h"
#include "app/qt/AmbrellServices.h"
#include "scan/ScanSignals.h"

class FolderTree;
class LargestFilesDlg;
class MapDlg;
struct FolderNode;
class QComboBox;
class QMenu;
class QPushButton;
class QSizeGrip;
class QTimer;

// Enables or disables one control of a dialog without leaving the keyboard
// focus on a disabled control: it moves on to the next tab stop first.
void EnableDlgControl(QWidget& dialog, QWidget& control, bool enable);

class CAmbrellDlg : public QDialog, private ScanFrontEnd {
  Q_OBJECT

 public:
  explicit CAmbrellDlg(AmbrellServices services, QWidget* parent = nullptr);
  // Shows the saved scans, already read, instead of scanning the drives.
  CAmbrellDlg(AmbrellServices services, SavedScanSet saved, QWidget* parent = nullptr);
  ~CAmbrellDlg() override;

  bool IsScanRunning() const { return m_scan.IsScanRunning(); }
  // A scan has started and its completion has not been handled yet.
  bool IsScanHeld() const { return m_scan.IsScanHeld(); }
  int Unit() const { return m_nUnit; }

  // The controls, by their role.
  FolderTree& Tree() const { return *m_tree; }
  QComboBox& Units() const { return *m_units; }
  QPushButton& RefreshButton() const { return *m_refresh; }
  QPushButton& CloseButton() const { return *m_close; }
  QSizeGrip& SizeGrip() const { return *m_grip; }

  // How a pop-up menu is shown: modally at a screen point. Tests replace it
  // to see which menu would open where.
  using MenuTracker = std::function<void(QMenu& menu, const QPoint& screenPoint)>;
  void SetMenuTracker(MenuTracker tracker) { m_trackMenu = std::move(tracker); }
  // How the About box is shown; tests replace it.
  void SetAboutBoxRunner(std::function<void()> runner) { m_runAboutBox = std::move(runner); }
  // How saved scan files are chosen: the desktop's file dialog, which tests replace.
  // No file when the user cancels.
  using FileChooser = std::function<std::vector<std::string>(SavedScanChoice choice)>;
  void SetFileChooser(FileChooser chooser) { m_chooseFiles = std::move(chooser); }
  bool ShowsSavedScans() const { return m_origin.ShowsSavedScans(); }
  // The window of the largest files; null until the menu first opens it.
  LargestFilesDlg* LargestFilesWindow() const { return m_largestFiles; }
  // The map window; null until the menu first opens it.
  MapDlg* MapWindow() const { return m_map; }

  // How long closing waits for a running worker before leaving it to end alone.
  void SetCloseWait(std::chrono::milliseconds wait) { m_closeWait = wait; }
  bool IsAbortRequested() const { return m_scan.IsAbortRequested(); }  // any thread
  // Hands the worker's buffered insertions over now, as the timer does every 100 ms.
  void HandOverWaitingInsertions() { m_scan.OnHandOverTimer(); }

  void done(int result) override;

 signals:
  // Every scan's end, after the labels are written; for tests and benchmarks.
  void ScanCompleted();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Construction and the scan protocol (AmbrellDlg.cpp).
  void CreateControls();
  void OnInitDialog();
  void StartScan();
  void UpdateScanControls();
  void OnRefresh();
  void OnMailbox();
  void OnSelchangeUnits();
  void OnCloseButton();
  void CloseDown();

  // The scan controller's view of this dialog.
  std::unique_ptr<ScanWorker> StartWorker(std::shared_ptr<AbortFlag> abort,
                                          SharedScanSession session) override;
  void ShowScanning(bool running) override;
  void SetBusyCursor(bool busy) override;
  TreeView& Folders() override;
  void HoldRedraw(bool hold) override;
  bool LabelOnDemand(const LabelContext& context) override;
  void ShowInOrder(FolderOrder order, const FolderChanges* changes) override;
  void OnScanCompleted() override;
  bool PrepareRefill() override;
  bool PrepareFolderRefill(TreeItem item) override;
  void EmptyFolder(TreeItem item) override;
  ProgressIndicator* ScanProgressIndicator() override { return m_progress.get(); }

  // Layout (AmbrellDlgLayout.cpp).
  std::array<QWidget*, dialog_layout::kMainControlCount> MainControls() const;
  void PlaceControlsFromTemplate();
  void OnSize(int cx, int cy);
  void UpdateMinimumSize();

  // Menus (AmbrellDlgMenus.cpp).
  void OnContextMenu(const QPoint& screenPoint, bool fromKeyboard);
  void ShowContextMenu(const QPoint& screenPoint);
  void ShowWindowMenu(const QPoint& screenPoint);
  void OnOpenInExplorer();
  void OnAbout();
  void OnSortBySize(bool checked);
  void OnSortByChange(bool checked);
  void OnLargestFiles();
  void OnRefreshFolder();
  bool CanRefreshSelectedFolder() const;
  // Lists the scan's largest files in the window, if it is open; none while a scan runs.
  void FillLargestFiles();
  // The map (AmbrellDlgMap.cpp).
  void OnShowMap();
  bool CanShowMap() const;
  void SelectFromMap(TreeItem folder);

  // Saved scans (AmbrellDlgSaved.cpp).
  std::vector<std::string> ChooseFiles(SavedScanChoice choice);
  void OnSaveScanAs();
  void OnOpenSavedScan();
  // Picks a saved scan to compare the tree with, or drops the one compared with.
  void OnCompare();

  AmbrellServices m_services;
  std::shared_ptr<ProgressIndicator> m_progress;  // the services', else the launcher entry
  FolderTree* m_tree = nullptr;
  QComboBox* m_units = nullptr;
  QPushButton* m_refresh = nullptr;
  QPushButton* m_close = nullptr;
  QSizeGrip* m_grip = nullptr;
  int m_nUnit = 2;
  dialog_layout::Margins m_margins;  // measured at the first resize

  std::shared_ptr<ScanMailbox> m_mailbox;
  InsertedItemMap<FolderNode*> m_items{nullptr};
  QTimer* m_handOverTimer = nullptr;
  ScanOrigin m_origin{m_services};
  ScanController m_scan{*this, m_origin.Names(), m_services.locale, m_nUnit};

  std::chrono::milliseconds m_closeWait{10000};
  MenuTracker m_trackMenu;
  std::function<void()> m_runAboutBox;
  FileChooser m_chooseFiles;
  LargestFilesDlg* m_largestFiles = nullptr;  // a child: goes with the dialog
  MapDlg* m_map = nullptr;                    // likewise
};
