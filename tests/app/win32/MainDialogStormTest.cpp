// Abort storms against the Windows main dialog under Wine, driven with the messages its
// button, unit list, hand-over timer and ways of closing send.

#include <windows.h>

#include "tests/app/win32/MainDialogFixture.h"
#include "tests/support/Storm.h"

namespace {

// Under Wine a sequence costs some 70 ms on two quiet cores and up to 200 ms on busy
// ones, most of it creating and destroying the dialog: the full storm stays within the
// suite's time-out of 300 s. Every run starts from a new seed.
constexpr int kSequences = 1000;

class DialogUnderStorm : public StormFrontEnd {
 public:
  // Ends with the dialog open and scanning, or with no dialog.
  static std::unique_ptr<DialogUnderStorm> Open(std::shared_ptr<FileSystem> machine, std::uint64_t choice) {
    // Batches of one make the worker wait for the dialog's thread at every folder.
    const std::size_t batchSizes[] = {1, 2, 7, 1000};
    AmbrellServices services =
        TestServices(nullptr, std::make_shared<RecordedProcesses>(), batchSizes[choice % 4]);
    services.fileSystem = std::move(machine);
    auto opened =
        std::unique_ptr<DialogUnderStorm>(new DialogUnderStorm(std::make_unique<CAmbrellDlg>(services)));
    if (!opened->m_dialog->Create()) return nullptr;
    opened->m_abortEvent = opened->m_dialog->GetAbortEvent();
    return opened;
  }

  void ClickRefresh() override { Command(IDC_REFRESH, BN_CLICKED); }
  void PickUnit(int unit) override {
    SendMessageA(m_dialog->GetDlgItem(IDC_UNITS), CB_SETCURSEL, static_cast<WPARAM>(unit), 0);
    Command(IDC_UNITS, CBN_SELCHANGE);
  }
  void HandOverTimer() override { SendMessageA(m_dialog->GetSafeHwnd(), WM_TIMER, 1, 0); }
  void RefreshFolder(TreeItem item) override {
    SendMessageA(m_dialog->GetDlgItem(IDC_TREE), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(m_dialog->GetTree().NativeOf(item)));
    SendMessageA(m_dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_REFRESH_FOLDER, 0);
  }
  // The closing wait is the dialog's own ten seconds.
  std::string Close(int way, bool) override {
    switch (way) {
      case 0:
        Command(IDC_CLOSE, BN_CLICKED);
        break;
      case 1:
        // The dialog's default handling posts Cancel for the loop to carry out.
        SendMessageA(m_dialog->GetSafeHwnd(), WM_CLOSE, 0, 0);
        while (!m_dialog->HasEnded()) Pump();
        break;
      default:
        m_dialog.reset();  // the program ends with the dialog still open
        return {};
    }
    if (m_dialog->GetSafeHwnd() != nullptr) return "the window is still there";
    return m_dialog->GetTree().GetCount() == 0 ? "" : "the tree still holds items";
  }
  void Pump() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  bool IsScanHeld() const override { return m_dialog->GetScanThread() != nullptr; }
  bool IsScanRunning() const override { return m_dialog->IsScanRunning(); }
  bool IsAbortRequested() const override { return WaitForSingleObject(m_abortEvent, 0) == WAIT_OBJECT_0; }
  int Unit() const override { return m_dialog->GetUnit(); }
  const TreeView& Folders() const override { return m_dialog->GetTree(); }
  std::string Label(TreeItem item) const override { return m_dialog->GetTree().GetItemText(item); }
  std::string ControlsFault() const override {
    if (WindowText(m_dialog->GetDlgItem(IDC_REFRESH)) != "&Refresh")
      return "the button does not read Refresh";
    if (!IsWindowEnabled(m_dialog->GetDlgItem(IDC_TREE)) ||
        !IsWindowEnabled(m_dialog->GetDlgItem(IDC_UNITS))) {
      return "the tree or the units are locked";
    }
    return {};
  }

 private:
  explicit DialogUnderStorm(std::unique_ptr<CAmbrellDlg> dialog) : m_dialog(std::move(dialog)) {}

  void Command(int id, WORD code) {
    SendMessageA(m_dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(m_dialog->GetDlgItem(id)));
  }

  std::unique_ptr<CAmbrellDlg> m_dialog;
  HANDLE m_abortEvent = nullptr;  // the dialog's, polled from the gate keeper's thread
};

TEST(MainDialogStorm, EverySequenceEndsWithExactLabelsNoWorkerAndNothingLeft) {
  const StormTarget target{"Windows dialog", 3, &DialogUnderStorm::Open};
  const StormSettings settings = StormSettingsFromEnvironment(kSequences);
  const StormReport report = RunStorm(target, settings);
  EXPECT_EQ(report.sequences, settings.sequences);
  for (const std::string& failure : report.failures) ADD_FAILURE() << failure;
}

}  // namespace
