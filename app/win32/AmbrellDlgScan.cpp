// The main dialog's side of the scan protocol: its worker, its controls, the busy
// cursor and its tree, as the shared scan controller drives them; and the checks that
// only this dialog's worker's messages are acted on.

#include <vector>

#include "app/AppTexts.h"
#include "app/win32/AmbrellDlg.h"
#include "res/resource.h"

namespace {
// While a scan runs, buffered insertions reach the tree at least this often.
constexpr UINT_PTR kHandOverTimer = 1;
constexpr UINT kHandOverIntervalMs = 100;
}  // namespace

bool CAmbrellDlg::IsScanRunning() const { return m_scan.IsScanRunning(); }

void CAmbrellDlg::StartScan() { m_scan.StartScan(); }

std::unique_ptr<ScanWorker> CAmbrellDlg::StartWorker(std::shared_ptr<AbortFlag> abort,
                                                     SharedScanSession session) {
  FillLargestFiles();  // empty until the scan ends
  m_map.DropScan();
  std::unique_ptr<Win32ScanWorker> worker = Win32ScanWorker::Start(ScanThreadSettings{
      m_origin.TakeSource(), std::move(session), std::move(abort), m_hWnd, m_services.insertionBatchSize});
  m_worker = worker.get();
  m_hThread = worker ? worker->Handle() : nullptr;
  if (worker) SetTimer(m_hWnd, kHandOverTimer, kHandOverIntervalMs, nullptr);
  return worker;
}

void CAmbrellDlg::UpdateScanControls() { ShowScanning(IsScanRunning()); }

void CAmbrellDlg::ShowScanning(bool running) {
  EnableDlgControl(m_hWnd, IDC_TREE, !running);
  EnableDlgControl(m_hWnd, IDC_UNITS, !running);
  SetDlgItemTextA(m_hWnd, IDC_REFRESH, running ? AMBRELL_TEXT_ABORT : AMBRELL_TEXT_REFRESH);
  UpdateWindowMenu();
}

void CAmbrellDlg::SetBusyCursor(bool busy) {
  SetCursor(LoadCursorA(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
}

void CAmbrellDlg::OnRefresh() {
  if (!m_scan.IsScanHeld()) {
    UpdateData(true);
    m_scan.SetUnit(m_nUnit);
  }
  m_scan.OnRefresh();
}

bool CAmbrellDlg::OnInsertBatchMessage(LPARAM batch) {
  if (m_worker == nullptr || !m_worker->HandOver().IsBatchInFlight(batch)) return false;
  OnInsertBatch(*reinterpret_cast<const InsertionBatch*>(batch));
  return true;
}

void CAmbrellDlg::OnInsertBatch(const InsertionBatch& batch) {
  // Redraw stays off during a batch: a tree view that redraws while many
  // items arrive costs far more than the insertions.
  m_tree.SetRedraw(false);
  for (const PendingInsertion& pending : batch) m_folders.Insert(pending);
  m_tree.SetRedraw(true);
}

void CAmbrellDlg::OnScanComplete() {
  // A notice the worker has not posted (another process can post any message) would
  // total and free records the worker is still writing.
  if (m_worker == nullptr || !m_worker->HandOver().completionPosted) return;
  m_scan.OnScanComplete();
}

void CAmbrellDlg::OnScanCompleted() {
  ForgetWorker();
  FillLargestFiles();
  m_map.OnScanEnded(m_folders, m_scan.Session());
}

void CAmbrellDlg::ForgetWorker() {
  KillTimer(m_hWnd, kHandOverTimer);
  m_worker = nullptr;
  m_hThread = nullptr;
}

void CAmbrellDlg::OnSelchangeUnits() {
  UpdateData(true);
  m_scan.OnSelchangeUnits(m_nUnit);
  FillLargestFiles();
  m_map.SetUnit(m_nUnit);
}

void CAmbrellDlg::HoldRedraw(bool hold) { m_tree.SetRedraw(!hold); }

void CAmbrellDlg::ShowInOrder(FolderOrder order, const FolderChanges* changes) {
  m_folders.ShowInOrder(order, changes);
}

bool CAmbrellDlg::PrepareFolderRefill(TreeItem item) {
  return m_origin.PrepareFolderFill(*m_folders.GetItemData(item));
}

void CAmbrellDlg::EmptyFolder(TreeItem item) { m_folders.EmptyFolder(item); }

bool CAmbrellDlg::OnSetCursor(HWND window, UINT hitTest) {
  if (hitTest != HTCLIENT || window != m_hWnd || !IsScanRunning()) return false;
  SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
  return true;
}

// The worker polls the in-memory flag; the event mirrors it. Without the event a
// scan cannot be stopped, as on any system where the event could not be made.
bool CAmbrellDlg::MirrorAbortRequest(bool set) {
  if (m_hAbortEvent == nullptr) return false;
  if (set) {
    SetEvent(m_hAbortEvent);
  } else {
    ResetEvent(m_hAbortEvent);
  }
  return true;
}

void CAmbrellDlg::OnDestroy() {
  m_map.Destroy();  // before its tree goes
  m_scan.StopForClosing();
  ForgetWorker();
  m_tree.Detach();
}
