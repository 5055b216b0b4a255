// The Windows dialog's own side of scanning: its unit list, the messages between the
// worker and the dialog (sent batches, queued and forged completions), focus, and OK
// and Cancel. The protocol itself (Abort, Refresh, relabelling, no drives, closing
// mid-scan) is the shared scenarios' (ScanProtocolDialogTest.cpp).

#include <windows.h>

#include <thread>

#include "app/win32/framework/SentMessageWait.h"
#include "tests/app/win32/MainDialogFixture.h"

namespace {

std::string ComboEntry(HWND combo, int index) {
  char text[64] = {};
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(MainDialogTest, WhileTheFirstScanRunsTheButtonsTakeInputAndTheUnitListOffersFourUnits) {
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:"));
  Open();
  fileSystem->GetGate().WaitUntilHeld();

  EXPECT_TRUE(IsEnabled(IDC_REFRESH));
  EXPECT_TRUE(IsEnabled(IDC_CLOSE));
  const HWND units = Item(IDC_UNITS);
  ASSERT_EQ(SendMessageA(units, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(ComboEntry(units, 0), "Bytes");
  EXPECT_EQ(ComboEntry(units, 1), "Kilobytes");
  EXPECT_EQ(ComboEntry(units, 2), "Megabytes");
  EXPECT_EQ(ComboEntry(units, 3), "Gigabytes");
  EXPECT_EQ(SendMessageA(units, CB_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(dialog->IsScanRunning());

  fileSystem->GetGate().Release();
  WaitForIdle();
}

TEST_F(MainDialogTest, AbortWhileTheWorkerWaitsForAnInsertionEndsTheScan) {
  Open(1);  // every folder is handed over on its own
  // The worker is now blocked until the GUI thread carries out its first insertion.
  ASSERT_TRUE(WaitForIncomingSentMessage());

  Click(IDC_REFRESH);
  EXPECT_EQ(ButtonText(), "&Refresh");
  EXPECT_FALSE(dialog->IsScanRunning());

  WaitForIdle();
  EXPECT_EQ(Labels(), "C:    (0 MB)\n");
}

// The list's selection is read when Refresh starts a scan, whether or not it said so.
TEST_F(MainDialogTest, RefreshScansInTheUnitTheListShows) {
  OpenAndScan();
  SendMessageA(Item(IDC_UNITS), CB_SETCURSEL, 3, 0);
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:"));

  Click(IDC_REFRESH);
  fileSystem->GetGate().WaitUntilHeld();
  EXPECT_EQ(dialog->GetTree().GetRootItem(), kNoItem);
  EXPECT_EQ(ButtonText(), "&Abort");
  EXPECT_FALSE(IsEnabled(IDC_UNITS));
  EXPECT_EQ(dialog->GetUnit(), 3);

  fileSystem->GetGate().Release();
  WaitForIdle();
  EXPECT_EQ(dialog->GetTree().GetItemText(dialog->GetTree().GetRootItem()), "C:    (0 GB)");
  EXPECT_EQ(dialog->GetTree().GetItemText(FindItem(dialog->GetTree(), "Games")), "Games    (1 GB)");
}

TEST_F(MainDialogTest, AnEndedWorkerWhoseCompletionIsStillQueuedIsNotRunning) {
  Open();
  const HANDLE thread = dialog->GetScanThread();
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(WaitServingSentMessages(thread, INFINITE));

  EXPECT_FALSE(dialog->IsScanRunning());
  EXPECT_EQ(dialog->GetScanThread(), thread);

  // A click now is an Abort that finds nothing to stop: no new scan starts.
  const int opened = fileSystem->OpenCount();
  Click(IDC_REFRESH);
  EXPECT_EQ(ButtonText(), "&Refresh");
  EXPECT_EQ(dialog->GetScanThread(), thread);

  WaitForIdle();
  EXPECT_EQ(fileSystem->OpenCount(), opened);
  EXPECT_EQ(Labels(), kProtocolMachineLabels);
}

// Any process may post or send the dialog a message of the same number: only what the
// worker itself handed over may total, free or insert.
TEST_F(MainDialogTest, ACompletionOrBatchTheWorkerDidNotHandOverChangesNothing) {
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Windows"));
  Open(1);  // one folder a batch, each sent: the GUI thread must keep serving them
  ASSERT_TRUE(PumpUntil([this] { return fileSystem->GetGate().IsHeld(); }));
  ASSERT_TRUE(PumpUntil([this] { return !Labels().empty(); }));
  const std::string labelsBefore = Labels();

  PostMessageA(dialog->GetSafeHwnd(), WM_SCANCOMPLETE, 0, 0);
  ASSERT_TRUE(PumpUntil([] { return true; }));
  EXPECT_TRUE(dialog->IsScanRunning());
  EXPECT_NE(dialog->GetScanThread(), nullptr);
  EXPECT_EQ(ButtonText(), "&Abort");
  EXPECT_FALSE(IsEnabled(IDC_TREE));

  InsertionBatch forged(1);
  forged[0].item = 99;
  forged[0].record = nullptr;
  EXPECT_NE(SendMessageA(dialog->GetSafeHwnd(), WM_INSERTBATCH, 0, reinterpret_cast<LPARAM>(&forged)),
            kBatchTaken);
  EXPECT_NE(SendMessageA(dialog->GetSafeHwnd(), WM_INSERTBATCH, 0, 0), kBatchTaken);
  EXPECT_EQ(Labels(), labelsBefore);

  fileSystem->GetGate().Release();
  WaitForIdle();
  EXPECT_EQ(Labels(), kProtocolMachineLabels);
}

// When the worker's own completion is taken from the queue, another program sends the
// dialog one more: the message waits, and the dialog's wait for the worker carries it
// out, inside the completion already under way.
class SecondCompletionSender {
 public:
  explicit SecondCompletionSender(HWND dialog) {
    s_dialog = dialog;
    s_sent = false;
    m_hook = SetWindowsHookExA(WH_GETMESSAGE, &OnMessageTaken, nullptr, GetCurrentThreadId());
  }
  ~SecondCompletionSender() { UnhookWindowsHookEx(m_hook); }
  SecondCompletionSender(const SecondCompletionSender&) = delete;
  SecondCompletionSender& operator=(const SecondCompletionSender&) = delete;

  bool Installed() const { return m_hook != nullptr; }
  static bool Sent() { return s_sent; }

 private:
  static LRESULT CALLBACK OnMessageTaken(int code, WPARAM removal, LPARAM message) {
    const MSG& taken = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && taken.hwnd == s_dialog &&
        taken.message == WM_SCANCOMPLETE && !s_sent) {
      s_sent = true;
      // Sent from another thread, it is queued and not carried out until this thread
      // next looks for sent messages: in the dialog's wait.
      std::thread([] { SendNotifyMessageA(s_dialog, WM_SCANCOMPLETE, 0, 0); }).join();
    }
    return CallNextHookEx(nullptr, code, removal, message);
  }

  static HWND s_dialog;
  static bool s_sent;
  HHOOK m_hook;
};

HWND SecondCompletionSender::s_dialog = nullptr;
bool SecondCompletionSender::s_sent = false;

TEST_F(MainDialogTest, ACompletionArrivingWhileTheCompletionWaitsForTheWorkerAddsNothing) {
  Open();
  const SecondCompletionSender sender(dialog->GetSafeHwnd());
  ASSERT_TRUE(sender.Installed());
  WaitForIdle();
  ASSERT_TRUE(SecondCompletionSender::Sent());
  ASSERT_TRUE(PumpUntil([] { return true; }));

  EXPECT_EQ(Labels(), kProtocolMachineLabels);
  EXPECT_EQ(ButtonText(), "&Refresh");

  // And the next scan still totals once.
  Click(IDC_REFRESH);
  WaitForIdle();
  EXPECT_EQ(Labels(), kProtocolMachineLabels);
}

TEST_F(MainDialogTest, AScanStartedWithTheFocusInTheTreeLeavesItOnTheRefreshButton) {
  OpenAndScan();
  SetActiveWindow(dialog->GetSafeHwnd());
  SetFocus(Item(IDC_TREE));
  ASSERT_EQ(GetFocus(), Item(IDC_TREE));
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:"));

  Click(IDC_REFRESH);
  fileSystem->GetGate().WaitUntilHeld();
  EXPECT_EQ(GetFocus(), Item(IDC_REFRESH));

  fileSystem->GetGate().Release();
  WaitForIdle();
}

TEST_F(MainDialogTest, EnterInTheTreeClosesAndOkDoesNothing) {
  OpenAndScan();
  SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_FALSE(dialog->HasEnded());
  EXPECT_EQ(SendMessageA(dialog->GetSafeHwnd(), DM_GETDEFID, 0, 0), MAKELRESULT(IDC_CLOSE, DC_HASDEFID));

  SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(dialog->HasEnded());
  EXPECT_EQ(dialog->GetResult(), IDCANCEL);
}

}  // namespace
