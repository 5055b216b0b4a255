#pragma once
// A scan's progress on the dialog's taskbar button (ITaskbarList3). The button
// exists only once the shell has announced it with the registered
// "TaskbarButtonCreated" message; until then, and again after the shell restarts,
// the state asked for is kept and shown when the button (re)appears. Where the
// interface is missing (older shells) nothing is shown and nothing fails.

#include <windows.h>
// After windows.h, which it needs.
#include <shobjidl.h>

#include <functional>

#include "app/ProgressIndicator.h"

// The shell's taskbar interface, initialised, with one reference for the caller; null
// where it is missing.
using TaskbarMaker = std::function<ITaskbarList3*()>;
ITaskbarList3* MakeSystemTaskbar();

class TaskbarProgress : public ProgressIndicator {
 public:
  static constexpr ULONGLONG kTotal = 1000;

  // Tests hand in a taskbar of their own.
  explicit TaskbarProgress(TaskbarMaker makeTaskbar = MakeSystemTaskbar);
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;
  // On the thread that received the button's message, as COM requires.
  ~TaskbarProgress() override;

  // The message the shell sends the window when its button is made; 0 if unknown.
  UINT ButtonCreatedMessage() const { return m_buttonCreated; }
  // The window's button is there: the interface is made at the first call, on this
  // (the GUI) thread, and the state asked for is shown.
  void OnButtonCreated(HWND window);

  void ShowShare(double share) override;
  void ShowIndeterminate() override;
  void Clear() override;

 private:
  void CreateInterface();
  void Apply();

  TaskbarMaker m_makeTaskbar;
  UINT m_buttonCreated;
  HWND m_window = nullptr;
  bool m_comInitialised = false;
  bool m_tried = false;  // making the interface, once
  ITaskbarList3* m_taskbar = nullptr;
  TBPFLAG m_state = TBPF_NOPROGRESS;
  ULONGLONG m_completed = 0;
};
