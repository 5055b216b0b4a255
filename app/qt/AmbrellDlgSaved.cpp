// Saving the finished tree and opening saved scans from the window menu, and Refresh
// reading the saved files again. A file that cannot be read or written is told on
// standard error and changes nothing.

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>

#include "app/AppTexts.h"
#include "app/qt/AmbrellDlg.h"
#include "app/qt/FolderTree.h"

namespace {

// A large scan takes a moment to read or write, on this thread.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// The cursor waits while a file is read; the scan's own cursor follows it.
template <typename Read>
bool ReadWaiting(Read read) {
  const WaitCursor waiting;
  return read();
}

}  // namespace

std::vector<std::string> CAmbrellDlg::ChooseFiles(SavedScanChoice choice) {
  const bool saving = choice == SavedScanChoice::kSaveAs;
  const bool comparing = choice == SavedScanChoice::kCompare;
  QFileDialog dialog(this, saving      ? QStringLiteral(AMBRELL_TEXT_SAVE_SCAN_CAPTION)
                           : comparing ? QStringLiteral(AMBRELL_TEXT_COMPARE_CAPTION)
                                       : QStringLiteral(AMBRELL_TEXT_OPEN_SAVED_SCAN_CAPTION));
  dialog.setNameFilters(
      {QStringLiteral(AMBRELL_TEXT_SAVED_SCAN_FILES), QStringLiteral(AMBRELL_TEXT_ALL_FILES " (*)")});
  dialog.setDefaultSuffix(QStringLiteral("json"));
  dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Several saved scans open as several drives, as saving several drives makes several files.
  dialog.setFileMode(saving      ? QFileDialog::AnyFile
                     : comparing ? QFileDialog::ExistingFile
                                 : QFileDialog::ExistingFiles);
  std::vector<std::string> files;
  if (dialog.exec() != QDialog::Accepted) return files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(QFile::encodeName(file).toStdString());
  return files;
}

void CAmbrellDlg::OnSaveScanAs() {
  if (m_scan.IsScanHeld() || m_tree->GetRootItem() == kNoItem) return;
  const std::vector<std::string> files = m_chooseFiles(SavedScanChoice::kSaveAs);
  if (files.empty()) return;
  const WaitCursor waiting;
  SaveTreeAsScans(*m_tree, *m_origin.Names(), files.front(), m_scan.FinishedLargestFiles());
}

void CAmbrellDlg::OnOpenSavedScan() {
  if (m_scan.IsScanHeld()) return;
  const std::vector<std::string> files = m_chooseFiles(SavedScanChoice::kOpen);
  if (!files.empty() && ReadWaiting([&] { return m_origin.OpenSaved(files); })) m_scan.OnRefresh();
}

void CAmbrellDlg::OnCompare() {
  if (m_scan.IsScanHeld()) return;
  if (m_scan.HasBaseline()) {
    m_scan.SetBaseline(nullptr, {});
    return;
  }
  const std::vector<std::string> files = m_chooseFiles(SavedScanChoice::kCompare);
  if (files.empty()) return;
  std::shared_ptr<const Baseline> baseline;
  if (ReadWaiting([&] { return (baseline = ReadBaseline(files.front())) != nullptr; }))
    m_scan.SetBaseline(baseline, files.front());
}

bool CAmbrellDlg::PrepareRefill() {
  return ReadWaiting([this] { return m_origin.PrepareFill(); });
}
