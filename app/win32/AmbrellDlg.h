#pragma once
// The main dialog: the size tree, the unit list, Refresh/Abort and Close. It
// starts a scan at once, keeps its controls in step with the worker, relabels
// the tree on a change of unit, lays itself out on resizing, opens a folder in
// the file browser from the tree's context menu, and saves the tree or opens
// saved scans from the system menu.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogLayout.h"
#include "app/InsertionBatch.h"
#include "app/ScanController.h"
#include "app/ScanOrigin.h"
#include "app/win32/AmbrellServices.h"
#include "app/win32/FolderTreeIndex.h"
#include "app/win32/LargestFilesDlg.h"
#include "app/win32/MapDlg.h"
#include "app/win32/ScanThread.h"
#include "app/win32/TaskbarProgress.h"
#include "app/win32/framework/DialogBase.h"
#include "app/win32/framework/TreeControl.h"
#include "scan/ScanSignals.h"

class CAmbrellDlg : public CDialogBase, private ScanFrontEnd {
 public:
  explicit CAmbrellDlg(AmbrellServices services = MachineServices(), HWND parent = nullptr);
  // Shows the saved scans, already read, instead of scanning the drives.
  CAmbrellDlg(AmbrellServices services, SavedScanSet saved, HWND parent = nullptr);
  ~CAmbrellDlg() override;

  INT_PTR DoModal() { return CDialogBase::DoModal(m_parent); }
  bool Create() { return CDialogBase::Create(m_parent); }

  // A worker is under way: its thread is held and has not ended.
  bool IsScanRunning() const;
  // Null once the last scan's completion has been handled.
  HANDLE GetScanThread() const { return m_hThread; }
  HANDLE GetAbortEvent() const { return m_hAbortEvent; }
  // The folders as the core and the tests see them; the control is only drawn through.
  const FolderTreeIndex& GetTree() const { return m_folders; }
  int GetUnit() const { return m_nUnit; }
  bool ShowsSavedScans() const { return m_origin.ShowsSavedScans(); }
  // The window of the largest files; it has no window until the menu first opens it.
  const CLargestFilesDlg& GetLargestFiles() const { return m_largestFiles; }
  // The map window; it has no window until the menu first opens it.
  const CMapDlg& GetMap() const { return m_map; }

  // How saved scan files are chosen: the system's Save As and Open boxes, which tests
  // replace. No file when the user cancels.
  using FileChooser = std::function<std::vector<std::string>(HWND owner, SavedScanChoice choice)>;
  void SetFileChooser(FileChooser chooser) { m_chooseFiles = std::move(chooser); }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  BOOL OnInitDialog() override;
  void DoDataExchange(bool saveAndValidate) override;
  void OnOK() override {}

 private:
  bool OnCommand(WORD id, WORD code);
  void OnDestroy();
  void FillUnitList();
  void AddAboutItem();
  void AppendSystemMenuItem(HMENU systemMenu, int textId, UINT command);
  void InitImageList();

  // Scan control (AmbrellDlgScan.cpp).
  void StartScan();
  void UpdateScanControls();
  void OnRefresh();
  void OnScanComplete();
  bool OnInsertBatchMessage(LPARAM batch);
  void OnInsertBatch(const InsertionBatch& batch);
  void OnSelchangeUnits();
  bool OnSetCursor(HWND window, UINT hitTest);
  void ForgetWorker();

  // The scan controller's view of this dialog.
  std::unique_ptr<ScanWorker> StartWorker(std::shared_ptr<AbortFlag> abort,
                                          SharedScanSession session) override;
  void ShowScanning(bool running) override;
  void SetBusyCursor(bool busy) override;
  TreeView& Folders() override { return m_folders; }
  void HoldRedraw(bool hold) override;
  void ShowInOrder(FolderOrder order, const FolderChanges* changes) override;
  bool MirrorAbortRequest(bool set) override;
  void OnScanCompleted() override;
  bool PrepareRefill() override;
  bool PrepareFolderRefill(TreeItem item) override;
  void EmptyFolder(TreeItem item) override;
  ProgressIndicator* ScanProgressIndicator() override {
    return m_services.progress ? m_services.progress.get() : &m_taskbar;
  }

  // Layout (AmbrellDlgLayout.cpp).
  void OnSize(UINT type, int cx, int cy);
  void OnPaint();
  LRESULT OnNcHitTest(LPARAM screenPoint);
  void OnGetMinMaxInfo(MINMAXINFO& info);

  // Menus (AmbrellDlgMenu.cpp).
  bool OnContextMenu(POINT screenPoint);
  void ShowContextMenu(POINT screenPoint);
  void OnOpenInExplorer();
  bool OnSysCommand(UINT id);
  // Greys or checks the window menu's items as the scan and the selection allow.
  void UpdateWindowMenu();
  void ToggleOrder(FolderOrder order);
  void ShowSortByChange(HMENU systemMenu, bool idle);
  void OnLargestFiles();
  void OnRefreshFolder();
  // Whether the selected item's folder can be scanned again, or mapped.
  bool CanRefreshFolder(TreeItem selected) const;
  // Lists the scan's largest files in their window, if it is open; none while a scan runs.
  void FillLargestFiles();
  void OnNotify(const NMHDR& header);

  // The map (AmbrellDlgMap.cpp).
  void OnShowMap();
  bool CanShowMap(TreeItem selected) const;
  void SelectFromMap(TreeItem folder);

  // Saved scans (AmbrellDlgSaved.cpp).
  void OnSaveScanAs();
  void OnOpenSavedScan();
  // Picks a saved scan to compare the tree with, or drops the one compared with.
  void OnCompare();

  CTreeCtrl m_tree;
  int m_nUnit;
  HICON m_hIcon;
  HICON m_hSmallIcon;
  bool m_bShowGrip;
  RECT m_rcGrip;
  dialog_layout::Margins m_margins;  // measured at the first resize
  // The worker's thread while its scan is held (the worker owns the handle).
  HANDLE m_hThread;
  // Mirrors the abort request. The worker polls a flag in memory instead: under Wine
  // every poll of an event is a round trip to the server (tens of microseconds), which
  // a scan of 100,000 folders would pay some 400,000 times.
  HANDLE m_hAbortEvent;
  HWND m_parent;
  AmbrellServices m_services;
  TaskbarProgress m_taskbar;  // unless the services bring their own indicator
  FolderTreeIndex m_folders{m_tree};
  ScanOrigin m_origin{m_services};
  ScanController m_scan;
  FileChooser m_chooseFiles;
  CLargestFilesDlg m_largestFiles{
      [this](const LargestFileRow& row) { m_origin.ShowFile(row.folder, row.name); }};
  CMapDlg m_map{m_origin.Names(), m_services.locale, m_nUnit,
                [this](TreeItem folder) { SelectFromMap(folder); }};
  // The held scan's worker (owned by m_scan), against which its messages are checked.
  Win32ScanWorker* m_worker = nullptr;
};

// Enables or disables one control of a dialog; a control losing its enabling
// passes the keyboard focus on to the next tab stop first.
void EnableDlgControl(HWND dialog, int controlId, bool enable);

// The system's Save As box, or its Open box for one or more saved scans.
std::vector<std::string> ChooseSavedScanFiles(HWND owner, SavedScanChoice choice);
