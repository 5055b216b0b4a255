#include "app/ScanController.h"

#include <utility>

#include "app/SavedScanFiles.h"
#include "scan/BaselineMatch.h"
#include "scan/FreeItems.h"

ScanController::ScanController(ScanFrontEnd& frontEnd, std::shared_ptr<const DisplayText> display,
                               std::shared_ptr<NumberLocale> locale, int unit)
    : m_frontEnd(frontEnd), m_display(std::move(display)), m_locale(std::move(locale)), m_unit(unit) {}

ScanController::~ScanController() = default;

void ScanController::StartScan() {
  m_session = std::make_shared<ScanSession>();
  m_worker = m_frontEnd.StartWorker(m_abort, m_session);
  m_frontEnd.SetBusyCursor(m_worker != nullptr);
  UpdateScanControls();
  FollowProgress();
}

void ScanController::FollowProgress() {
  m_progress.Follow(m_frontEnd.ScanProgressIndicator(), m_worker ? m_worker->Progress() : nullptr);
}

void ScanController::UpdateScanControls() { m_frontEnd.ShowScanning(IsScanRunning()); }

void ScanController::OnRefresh() {
  if (m_worker) {
    // Abort. The wait carries out the worker's hand-over, so the worker always reaches
    // its next abort test; its completion arrives through the message loop next.
    if (RequestAbort()) {
      m_worker->WaitServingHandOver(std::chrono::milliseconds::max());
      m_progress.Stop();  // what was counted is no share of the whole
    }
    UpdateScanControls();
    return;
  }
  if (!m_frontEnd.PrepareRefill()) return;
  FreeAllRecords();
  StartScan();
}

void ScanController::RefreshFolder(TreeItem item) {
  if (m_worker || !m_session || item == kNoItem || !m_frontEnd.PrepareFolderRefill(item)) return;
  m_worker = m_frontEnd.StartWorker(m_abort, m_session);
  if (!m_worker) return;  // the tree is as it was
  m_refilled = item;
  m_frontEnd.EmptyFolder(item);
  m_frontEnd.SetBusyCursor(true);
  UpdateScanControls();
  FollowProgress();
}

bool ScanController::RequestAbort() {
  if (!m_frontEnd.MirrorAbortRequest(true)) return false;
  m_abort->Set();
  return true;
}

void ScanController::OnScanComplete() {
  // A stray second notice, or one carried out in the wait below (a notice another
  // program sends), would free the worker this call is waiting for.
  if (!m_worker || m_completing) return;
  m_completing = true;
  // Handing over its completion is the worker's last act: it ends at once.
  m_worker->WaitServingHandOver(std::chrono::milliseconds::max());
  m_progress.Stop();
  m_worker.reset();
  m_completing = false;
  const TreeItem refilled = std::exchange(m_refilled, kNoItem);
  // A unit picked meanwhile relabels every folder.
  const bool aroundRefilled = refilled != kNoItem && m_unit == m_labelledUnit;
  if (aroundRefilled) {
    AccumulateFolderSizes(m_frontEnd.Folders(), refilled);
  } else {
    AccumulateFolderSizes(m_frontEnd.Folders());
  }
  if (m_baseline) MatchBaseline(*m_baseline, m_baselineFile);
  if (aroundRefilled) {
    RelabelAround(refilled);
  } else {
    RelabelAll();
  }
  m_frontEnd.ShowInOrder(m_order, Changes());
  m_frontEnd.SetBusyCursor(false);
  m_frontEnd.MirrorAbortRequest(false);
  m_abort->Reset();
  UpdateScanControls();
  m_frontEnd.OnScanCompleted();
}

void ScanController::OnSelchangeUnits(int unit) {
  m_unit = unit;
  // Records are the worker's until its completion has been handled.
  if (!m_worker) RelabelAll();
}

void ScanController::SetFolderOrder(FolderOrder order) {
  m_order = order;
  if (!m_worker) m_frontEnd.ShowInOrder(order, Changes());
}

bool ScanController::SetBaseline(std::shared_ptr<const Baseline> baseline, const std::string& file) {
  if (m_worker) return false;
  if (baseline && !(m_session && MatchBaseline(*baseline, file))) return false;
  if (!baseline && m_session) m_session->Changes().Clear();
  m_baseline = std::move(baseline);
  m_baselineFile = file;
  if (!m_baseline && m_order == FolderOrder::ByChange) m_order = FolderOrder::Listed;
  RelabelAll();
  m_frontEnd.ShowInOrder(m_order, Changes());
  return true;
}

const FolderChanges* ScanController::Changes() const {
  return m_baseline && m_session ? &m_session->Changes() : nullptr;
}

bool ScanController::MatchBaseline(const Baseline& baseline, const std::string& file) {
  FolderChanges& changes = m_session->Changes();
  changes.Clear();
  // Windows matches paths whatever their case, Linux byte for byte.
  if (::MatchBaseline(m_frontEnd.Folders(), baseline, *m_display, kNativePaths, changes) != 0) return true;
  ReportUnmatchedBaseline(file, baseline.RootPath());
  return false;
}

void ScanController::OnHandOverTimer() {
  if (!m_worker) return;
  m_worker->HandOverWaiting();
  m_progress.Update();
}

void ScanController::RelabelAll() {
  m_labelledUnit = m_unit;
  const LabelContext context{m_frontEnd.Folders(), m_unit, *m_locale, *m_display, Changes()};
  if (m_frontEnd.LabelOnDemand(context)) return;
  m_frontEnd.HoldRedraw(true);
  UpdateAllLabels(context);
  m_frontEnd.HoldRedraw(false);
}

void ScanController::RelabelAround(TreeItem folder) {
  const LabelContext context{m_frontEnd.Folders(), m_unit, *m_locale, *m_display, Changes()};
  if (m_frontEnd.LabelOnDemand(context)) return;
  m_frontEnd.HoldRedraw(true);
  UpdateLabelsAround(context, folder);
  m_frontEnd.HoldRedraw(false);
}

void ScanController::StopForClosing(std::chrono::milliseconds limit) {
  if (m_worker) {
    if (RequestAbort()) m_worker->WaitServingHandOver(limit);
    m_progress.Stop();
    m_worker.reset();
  }
  m_refilled = kNoItem;
  FreeAllRecords();
}

void ScanController::FreeAllRecords() { FreeAllItems(m_frontEnd.Folders(), m_session); }
