#include "app/win32/AmbrellApp.h"

#include <string>
#include <utility>
#include <vector>

#include "app/SavedScanFiles.h"
#include "app/win32/AmbrellDlg.h"
#include "app/win32/CommandLine.h"

namespace {
constexpr int kExitUnreadableScan = 2;
}  // namespace

// Saved scans named on the command line are shown instead of the drives. One that
// does not read ends the program at once, with the reason on standard error: the
// program never shows a message box.
bool CAmbrellApp::InitInstance() {
  const std::vector<std::string> files = SavedScansOnCommandLine(GetCommandLineW());
  if (files.empty()) {
    CAmbrellDlg dialog;
    dialog.DoModal();
    return false;
  }
  SavedScanSet saved;
  std::string error;
  if (!ReadSavedScanSet(files, saved, error)) {
    ReportSavedScanError(error);
    m_exitCode = kExitUnreadableScan;
    return false;
  }
  CAmbrellDlg dialog(MachineServices(), std::move(saved));
  dialog.DoModal();
  return false;
}
