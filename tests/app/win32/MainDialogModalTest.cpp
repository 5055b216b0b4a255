// The dialog run modally, as the program runs it: the scan ends inside the
// dialog's own loop, and Close ends the loop with the window gone.

#include <windows.h>

#include "tests/app/win32/MainDialogFixture.h"

namespace {

// Clicks Close once the scan has ended, from a timer the modal loop dispatches.
struct CloseWhenIdle {
  static HWND dialog;
  static std::string labelsSeen;
  static const CAmbrellDlg* object;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    dialog = FindThreadWindow(nullptr, "Ambrell");
    if (dialog == nullptr || object->GetScanThread() != nullptr) return;
    KillTimer(nullptr, timer);
    labelsSeen = DumpLabels(object->GetTree());
    const HWND close = GetDlgItem(dialog, IDC_CLOSE);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CLOSE, BN_CLICKED), reinterpret_cast<LPARAM>(close));
  }
};
HWND CloseWhenIdle::dialog = nullptr;
std::string CloseWhenIdle::labelsSeen;
const CAmbrellDlg* CloseWhenIdle::object = nullptr;

TEST_F(MainDialogTest, RunModallyItScansAndCloseEndsItWithTheWindowGone) {
  CAmbrellDlg modal(TestServices(fileSystem, processes));
  CloseWhenIdle::object = &modal;
  SetTimer(nullptr, 0, 10, &CloseWhenIdle::Tick);

  EXPECT_EQ(modal.DoModal(), IDOK);
  EXPECT_EQ(CloseWhenIdle::labelsSeen, kProtocolMachineLabels);
  EXPECT_FALSE(IsWindow(CloseWhenIdle::dialog));
  EXPECT_EQ(modal.GetSafeHwnd(), nullptr);
}

}  // namespace
