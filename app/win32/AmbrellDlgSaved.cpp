// Saving the finished tree and opening saved scans from the system menu, and Refresh
// reading the saved files again. A file that cannot be read or written is told on
// standard error, never in a message box, and changes nothing.

#include "app/AppTexts.h"
#include "app/win32/AmbrellDlg.h"
#include "app/win32/framework/FileNameDialogs.h"
#include "res/resource.h"

namespace {

// A large scan takes a moment to read or write, on this thread.
class WaitCursor {
 public:
  WaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(m_previous); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR m_previous;
};

// The cursor waits while a file is read; the scan's own cursor follows it.
template <typename Read>
bool ReadWaiting(Read read) {
  const WaitCursor waiting;
  return read();
}

}  // namespace

std::vector<std::string> ChooseSavedScanFiles(HWND owner, SavedScanChoice choice) {
  const FileKinds kinds{{{AMBRELL_TEXT_SAVED_SCAN_FILES, "*.json"}, {AMBRELL_TEXT_ALL_FILES " (*.*)", "*.*"}},
                        "json"};
  if (choice == SavedScanChoice::kOpen)
    return AskOpenFileNames(owner, AMBRELL_TEXT_OPEN_SAVED_SCAN_CAPTION, kinds);
  if (choice == SavedScanChoice::kCompare)
    return AskOpenFileNames(owner, AMBRELL_TEXT_COMPARE_CAPTION, kinds, false);
  const std::string file = AskSaveFileName(owner, AMBRELL_TEXT_SAVE_SCAN_CAPTION, kinds);
  return file.empty() ? std::vector<std::string>() : std::vector<std::string>{file};
}

void CAmbrellDlg::OnSaveScanAs() {
  if (m_scan.IsScanHeld() || m_folders.GetRootItem() == kNoItem) return;
  const std::vector<std::string> files = m_chooseFiles(m_hWnd, SavedScanChoice::kSaveAs);
  if (files.empty()) return;
  const WaitCursor waiting;
  SaveTreeAsScans(m_folders, *m_origin.Names(), files.front(), m_scan.FinishedLargestFiles());
}

void CAmbrellDlg::OnOpenSavedScan() {
  if (m_scan.IsScanHeld()) return;
  const std::vector<std::string> files = m_chooseFiles(m_hWnd, SavedScanChoice::kOpen);
  if (!files.empty() && ReadWaiting([&] { return m_origin.OpenSaved(files); })) m_scan.OnRefresh();
}

void CAmbrellDlg::OnCompare() {
  if (m_scan.IsScanHeld()) return;
  if (!m_scan.HasBaseline()) {
    const std::vector<std::string> files = m_chooseFiles(m_hWnd, SavedScanChoice::kCompare);
    if (files.empty()) return;
    std::shared_ptr<const Baseline> baseline;
    if (ReadWaiting([&] { return (baseline = ReadBaseline(files.front())) != nullptr; }))
      m_scan.SetBaseline(baseline, files.front());
  } else {
    m_scan.SetBaseline(nullptr, {});
  }
  UpdateWindowMenu();
}

bool CAmbrellDlg::PrepareRefill() {
  return ReadWaiting([this] { return m_origin.PrepareFill(); });
}
