// The taskbar button's progress: what reaches the shell's interface, and when. The
// button exists only once the shell says so, and again after the shell restarts.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/win32/TaskbarProgress.h"
#include "tests/app/win32/MainDialogFixture.h"

namespace {

using Calls = std::vector<std::string>;

// The shell's interface, writing down the progress calls; the rest is never called.
class FakeTaskbar : public ITaskbarList3 {
 public:
  explicit FakeTaskbar(Calls& calls) : m_calls(calls) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetProgressValue(HWND, ULONGLONG completed, ULONGLONG total) override {
    m_calls.push_back("value " + std::to_string(completed) + "/" + std::to_string(total));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetProgressState(HWND, TBPFLAG state) override {
    m_calls.push_back(state == TBPF_NORMAL          ? "normal"
                      : state == TBPF_INDETERMINATE ? "indeterminate"
                      : state == TBPF_NOPROGRESS    ? "none"
                                                    : "other");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }

  ULONG references = 1;

 private:
  Calls& m_calls;
};

class TaskbarProgressTest : public ::testing::Test {
 protected:
  TaskbarMaker Maker() {
    return [this] {
      ++made;
      return &taskbar;
    };
  }
  // Any window stands for the dialog's.
  HWND Window() const { return GetDesktopWindow(); }

  Calls calls;
  FakeTaskbar taskbar{calls};
  int made = 0;
};

TEST_F(TaskbarProgressTest, WhatIsAskedBeforeTheButtonExistsShowsWhenItAppears) {
  {
    TaskbarProgress progress(Maker());
    progress.ShowIndeterminate();
    progress.ShowShare(0.25);
    EXPECT_EQ(made, 0);
    EXPECT_EQ(calls, Calls{});
    progress.OnButtonCreated(Window());
    EXPECT_EQ(calls, (Calls{"normal", "value 250/1000"}));
  }
  EXPECT_EQ(taskbar.references, 0u);  // released with the dialog
}

TEST_F(TaskbarProgressTest, EachStateReachesTheButton) {
  TaskbarProgress progress(Maker());
  progress.OnButtonCreated(Window());
  calls.clear();
  progress.ShowShare(0.5);
  progress.ShowIndeterminate();
  progress.ShowShare(1);
  progress.Clear();
  EXPECT_EQ(calls, (Calls{"normal", "value 500/1000", "indeterminate", "normal", "value 1000/1000", "none"}));
}

// The shell made the button again: it shows the scan where it is, with the same interface.
TEST_F(TaskbarProgressTest, AButtonMadeAgainShowsTheStateAgain) {
  TaskbarProgress progress(Maker());
  progress.OnButtonCreated(Window());
  progress.ShowIndeterminate();
  calls.clear();
  progress.OnButtonCreated(Window());
  EXPECT_EQ(calls, Calls{"indeterminate"});
  EXPECT_EQ(made, 1);
}

TEST(TaskbarProgressWithoutInterface, NothingHappens) {
  TaskbarProgress progress([]() -> ITaskbarList3* { return nullptr; });
  progress.OnButtonCreated(GetDesktopWindow());
  progress.ShowShare(0.5);
  progress.Clear();
}

// The dialog with the shell's own interface, whatever this system has of it: the
// button's message may come at any time during a scan and again after it.
TEST_F(MainDialogTest, TheTaskbarButtonsMessageChangesNothingOfTheScan) {
  fileSystem->SetUsedBytes('C', 100 * kMB);
  fileSystem->SetUsedBytes('D', 500 * kMB);
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  Open();
  const UINT buttonCreated = RegisterWindowMessageA("TaskbarButtonCreated");
  SendMessageA(dialog->GetSafeHwnd(), buttonCreated, 0, 0);
  fileSystem->GetGate().WaitUntilHeld();
  SendMessageA(dialog->GetSafeHwnd(), WM_TIMER, 1, 0);
  SendMessageA(dialog->GetSafeHwnd(), buttonCreated, 0, 0);
  fileSystem->GetGate().Release();
  WaitForIdle();
  EXPECT_EQ(Labels(), kProtocolMachineLabels);
  EXPECT_EQ(ButtonText(), "&Refresh");
}

}  // namespace
