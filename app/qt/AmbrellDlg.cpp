#include "app/qt/AmbrellDlg.h"

#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSizeGrip>
#include <QTimer>

#include "app/AppTexts.h"
#include "app/ScanThread.h"
#include "app/qt/FolderPictures.h"
#include "app/qt/FolderTree.h"
#include "app/qt/LargestFilesDlg.h"
#include "app/qt/LauncherEntry.h"
#include "app/qt/MapDlg.h"
#include "app/qt/about/AboutDlg.h"
#include "scan/SizeLabels.h"
#include "scan/TreeWalk.h"

CAmbrellDlg::CAmbrellDlg(AmbrellServices services, QWidget* parent)
    : CAmbrellDlg(std::move(services), SavedScanSet{}, parent) {}

CAmbrellDlg::CAmbrellDlg(AmbrellServices services, SavedScanSet saved, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)), m_progress(m_services.progress) {
  if (!m_progress) m_progress = std::make_shared<LauncherEntryProgress>();
  if (!saved.files.empty()) m_origin.ShowSaved(std::move(saved));
  setWindowTitle(QStringLiteral(AMBRELL_TEXT_CAPTION));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  m_trackMenu = [](QMenu& menu, const QPoint& point) { menu.exec(point); };
  m_runAboutBox = [this] {
    CAboutDlg about(this);
    about.exec();
  };
  m_chooseFiles = [this](SavedScanChoice choice) { return ChooseFiles(choice); };
  CreateControls();
  OnInitDialog();
}

CAmbrellDlg::~CAmbrellDlg() { CloseDown(); }

void CAmbrellDlg::CreateControls() {
  m_tree = new FolderTree(m_origin.Names(), m_services.locale, this);
  m_units = new QComboBox(this);
  for (const SizeUnit& unit : kSizeUnits) m_units->addItem(QString::fromUtf8(unit.name));
  m_refresh = new QPushButton(QStringLiteral(AMBRELL_TEXT_REFRESH), this);
  m_close = new QPushButton(QStringLiteral(AMBRELL_TEXT_CLOSE), this);
  m_close->setDefault(true);
  // The busy cursor shows over the dialog and its disabled controls, never
  // over the buttons, which stay usable during a scan.
  m_refresh->setCursor(Qt::ArrowCursor);
  m_close->setCursor(Qt::ArrowCursor);
  setTabOrder(m_tree, m_units);
  setTabOrder(m_units, m_refresh);
  setTabOrder(m_refresh, m_close);
  m_grip = new QSizeGrip(this);
  PlaceControlsFromTemplate();

  // While a scan runs, buffered insertions reach the tree at least this often.
  m_handOverTimer = new QTimer(this);
  m_handOverTimer->setInterval(100);
  connect(m_handOverTimer, &QTimer::timeout, this, [this] { m_scan.OnHandOverTimer(); });

  connect(m_refresh, &QPushButton::clicked, this, &CAmbrellDlg::OnRefresh);
  connect(m_close, &QPushButton::clicked, this, &CAmbrellDlg::OnCloseButton);
  connect(m_units, qOverload<int>(&QComboBox::activated), this, &CAmbrellDlg::OnSelchangeUnits);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, &CAmbrellDlg::OnAbout);
}

void CAmbrellDlg::OnInitDialog() {
  m_units->setCurrentIndex(m_nUnit);
  m_tree->SetFolderIcon(LoadFolderIcon());
  StartScan();
}

void CAmbrellDlg::StartScan() { m_scan.StartScan(); }

std::unique_ptr<ScanWorker> CAmbrellDlg::StartWorker(std::shared_ptr<AbortFlag> abort,
                                                     SharedScanSession session) {
  // Runs on the worker under the mailbox's lock, which the dialog takes to
  // disconnect before it goes; a queued call never waits.
  m_mailbox = std::make_shared<ScanMailbox>(
      [this] { QMetaObject::invokeMethod(this, &CAmbrellDlg::OnMailbox, Qt::QueuedConnection); });
  m_items.Clear();
  FillLargestFiles();  // empty until the scan ends
  if (m_map != nullptr) m_map->DropScan();
  std::unique_ptr<ScanThread> worker =
      ScanThread::Start(m_origin.TakeSource(), std::move(session), std::move(abort), m_mailbox);
  if (worker) m_handOverTimer->start();
  return worker;
}

void CAmbrellDlg::UpdateScanControls() { ShowScanning(IsScanRunning()); }

void CAmbrellDlg::ShowScanning(bool running) {
  EnableDlgControl(*this, *m_tree, !running);
  EnableDlgControl(*this, *m_units, !running);
  m_refresh->setText(running ? QStringLiteral(AMBRELL_TEXT_ABORT) : QStringLiteral(AMBRELL_TEXT_REFRESH));
}

void EnableDlgControl(QWidget& dialog, QWidget& control, bool enable) {
  if (!enable && control.hasFocus()) {
    for (QWidget* next = control.nextInFocusChain(); next != &control; next = next->nextInFocusChain()) {
      const bool isTabStop = (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
      if (isTabStop && next->isEnabled() && next->isVisibleTo(&dialog) && next->window() == &dialog &&
          !control.isAncestorOf(next)) {
        next->setFocus(Qt::TabFocusReason);
        break;
      }
    }
  }
  control.setEnabled(enable);
}

void CAmbrellDlg::SetBusyCursor(bool busy) {
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_tree), m_tree->viewport(),
                          static_cast<QWidget*>(m_units)}) {
    if (busy) {
      widget->setCursor(Qt::BusyCursor);
    } else {
      widget->unsetCursor();
    }
  }
}

void CAmbrellDlg::OnRefresh() {
  if (!m_scan.IsScanHeld()) {
    m_nUnit = m_units->currentIndex();
    m_scan.SetUnit(m_nUnit);
  }
  // An Abort's wait cannot deadlock: the worker never waits for this thread. Its
  // completion arrives through the event loop next.
  m_scan.OnRefresh();
}

// Carries out what the worker has left: its insertions, then its completion.
void CAmbrellDlg::OnMailbox() {
  if (!m_mailbox) return;
  ScanMailbox::Contents contents = m_mailbox->Collect();
  if (contents.batches.empty() && !contents.completed) return;
  m_tree->setUpdatesEnabled(false);
  for (const auto& batch : contents.batches) m_tree->InsertBatch(*batch, m_items);
  m_tree->setUpdatesEnabled(true);
  if (contents.completed) m_scan.OnScanComplete();
}

void CAmbrellDlg::OnScanCompleted() {
  m_handOverTimer->stop();
  m_items.Clear();
  FillLargestFiles();
  if (m_map != nullptr) m_map->OnScanEnded(*m_tree, m_scan.Session());
  emit ScanCompleted();
}

void CAmbrellDlg::OnSelchangeUnits() {
  m_nUnit = m_units->currentIndex();
  m_scan.OnSelchangeUnits(m_nUnit);
  FillLargestFiles();
  if (m_map != nullptr) m_map->SetUnit(m_nUnit);
}

TreeView& CAmbrellDlg::Folders() { return *m_tree; }

void CAmbrellDlg::HoldRedraw(bool hold) { m_tree->setUpdatesEnabled(!hold); }

// The tree was made with the same names and locale as the context's.
bool CAmbrellDlg::LabelOnDemand(const LabelContext& context) {
  m_tree->ShowSizes(context.unit, context.changes);
  return true;
}

void CAmbrellDlg::ShowInOrder(FolderOrder order, const FolderChanges* changes) {
  m_tree->ShowInOrder(order, changes);
}

bool CAmbrellDlg::PrepareFolderRefill(TreeItem item) {
  return m_origin.PrepareFolderFill(*m_tree->GetItemData(item));
}

void CAmbrellDlg::EmptyFolder(TreeItem item) { m_tree->EmptyFolder(item, m_items); }

void CAmbrellDlg::OnCloseButton() { done(QDialog::Accepted); }

// Every way of closing ends here: the worker is stopped first, and the
// records are freed only once it can no longer write them.
void CAmbrellDlg::done(int result) {
  CloseDown();
  QDialog::done(result);
}

// A worker that does not end in time is left to end on its own: it keeps its
// file system, its mailbox and its share of the scan alive, since it may still
// be writing one of the records.
void CAmbrellDlg::CloseDown() {
  if (m_map != nullptr) m_map->close();  // before its tree goes
  m_scan.StopForClosing(m_closeWait);
  m_handOverTimer->stop();
  if (m_largestFiles != nullptr) m_largestFiles->close();  // it lists the scan that just went
  if (m_mailbox) m_mailbox->Disconnect();
  m_mailbox.reset();
}
