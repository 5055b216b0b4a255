// The scan protocol of the main dialog: start, abort, the worker's insertions,
// completion, relabelling, the busy cursor, and stopping the worker on closing.

#include "app/AppTexts.h"
#include "app/win32/AmbrellDlg.h"
#include "app/win32/ScanThread.h"
#include "app/win32/framework/SentMessageWait.h"
#include "res/resource.h"
#include "scan/FreeItems.h"
#include "scan/SizeLabels.h"

namespace {
constexpr DWORD kClosingWaitMs = 10000;
}

bool CAmbrellDlg::IsScanRunning() const {
  return m_hThread != nullptr && WaitForSingleObject(m_hThread, 0) == WAIT_TIMEOUT;
}

void CAmbrellDlg::StartScan() {
  SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
  m_folders.Clear();
  m_handOver = std::make_shared<WorkerHandOver>();
  m_hThread = StartScanThread(ScanThreadSettings{m_services.fileSystem, m_abortRequest, m_handOver, m_hWnd,
                                                 m_services.insertionBatchSize});
}

void CAmbrellDlg::UpdateScanControls() {
  const bool running = IsScanRunning();
  EnableDlgControl(m_hWnd, IDC_TREE, !running);
  EnableDlgControl(m_hWnd, IDC_UNITS, !running);
  SetDlgItemTextA(m_hWnd, IDC_REFRESH, running ? AMBRELL_TEXT_ABORT : AMBRELL_TEXT_REFRESH);
}

void CAmbrellDlg::OnRefresh() {
  if (m_hThread != nullptr) {
    // Abort. The worker may be waiting for its insertions to be carried out
    // before it reaches its next abort test: the wait carries them out.
    if (RequestAbort()) WaitServingSentMessages(m_hThread, INFINITE);
    UpdateScanControls();
    return;
  }
  UpdateData(true);
  FreeAllItems(m_folders);
  StartScan();
  UpdateScanControls();
}

void CAmbrellDlg::OnInsertBatch(const InsertionBatch& batch) {
  // Redraw stays off during a batch: a tree view that redraws while many
  // items arrive costs far more than the insertions.
  m_tree.SetRedraw(false);
  for (const PendingInsertion& pending : batch) m_folders.Insert(pending);
  m_tree.SetRedraw(true);
}

bool CAmbrellDlg::OnInsertBatchMessage(LPARAM batch) {
  if (m_handOver == nullptr || !m_handOver->IsBatchInFlight(batch)) return false;
  OnInsertBatch(*reinterpret_cast<const InsertionBatch*>(batch));
  return true;
}

void CAmbrellDlg::OnScanComplete() {
  // Totals are added up once per scan: a stray second notice would double them.
  // A notice the worker has not posted (another process can post any message) would
  // total and free records the worker is still writing.
  if (m_hThread == nullptr || !m_handOver->completionPosted) return;
  // Posting was the worker's last act: its end is a moment away.
  WaitServingSentMessages(m_hThread, INFINITE);
  AccumulateFolderSizes(m_folders);
  RelabelAll();
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  CloseHandle(m_hThread);
  m_hThread = nullptr;
  ClearAbortRequest();
  UpdateScanControls();
}

void CAmbrellDlg::OnSelchangeUnits() {
  UpdateData(true);
  // Records are the worker's until its completion has been handled.
  if (m_hThread == nullptr) RelabelAll();
}

void CAmbrellDlg::RelabelAll() {
  m_tree.SetRedraw(false);
  UpdateAllLabels(LabelContext{m_folders, m_nUnit, *m_services.locale, *m_services.display});
  m_tree.SetRedraw(true);
}

bool CAmbrellDlg::OnSetCursor(HWND window, UINT hitTest) {
  if (hitTest != HTCLIENT || window != m_hWnd || !IsScanRunning()) return false;
  SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
  return true;
}

// True when no worker is left running. One that outlives the time limit keeps
// its records: it may still be adding to them.
bool CAmbrellDlg::StopWorkerForClosing() {
  if (m_hThread == nullptr) return true;
  if (RequestAbort()) return WaitServingSentMessages(m_hThread, kClosingWaitMs);
  return WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0;
}

// False without the event: a scan then cannot be stopped, as on any system
// where the event could not be made.
bool CAmbrellDlg::RequestAbort() {
  if (m_hAbortEvent == nullptr) return false;
  m_abortRequest->Set();
  SetEvent(m_hAbortEvent);
  return true;
}

void CAmbrellDlg::ClearAbortRequest() {
  if (m_hAbortEvent != nullptr) ResetEvent(m_hAbortEvent);
  m_abortRequest->Reset();
}

void CAmbrellDlg::OnDestroy() {
  if (StopWorkerForClosing()) {
    FreeAllItems(m_folders);
  } else {
    m_folders.DeleteAllItems();
  }
  m_tree.Detach();
}
