#include "app/win32/TaskbarProgress.h"

#include <objbase.h>

#include <cmath>
#include <utility>

ITaskbarList3* MakeSystemTaskbar() {
  ITaskbarList3* taskbar = nullptr;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              reinterpret_cast<void**>(&taskbar))) ||
      taskbar == nullptr) {
    return nullptr;
  }
  if (FAILED(taskbar->HrInit())) {
    taskbar->Release();
    return nullptr;
  }
  return taskbar;
}

TaskbarProgress::TaskbarProgress(TaskbarMaker makeTaskbar)
    : m_makeTaskbar(std::move(makeTaskbar)),
      m_buttonCreated(RegisterWindowMessageA("TaskbarButtonCreated")) {}

TaskbarProgress::~TaskbarProgress() {
  if (m_taskbar != nullptr) m_taskbar->Release();
  if (m_comInitialised) CoUninitialize();
}

void TaskbarProgress::OnButtonCreated(HWND window) {
  m_window = window;
  if (!m_tried) CreateInterface();
  Apply();
}

// A thread that COM already serves in another model (RPC_E_CHANGED_MODE) can still
// make the object; only a successful initialisation is balanced on destruction.
void TaskbarProgress::CreateInterface() {
  m_tried = true;
  m_comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (m_makeTaskbar) m_taskbar = m_makeTaskbar();
}

void TaskbarProgress::ShowShare(double share) {
  m_state = TBPF_NORMAL;
  const double clamped = share < 0 ? 0 : (share > 1 ? 1 : share);
  m_completed = static_cast<ULONGLONG>(std::lround(clamped * static_cast<double>(kTotal)));
  Apply();
}

void TaskbarProgress::ShowIndeterminate() {
  m_state = TBPF_INDETERMINATE;
  Apply();
}

void TaskbarProgress::Clear() {
  m_state = TBPF_NOPROGRESS;
  Apply();
}

void TaskbarProgress::Apply() {
  if (m_taskbar == nullptr || m_window == nullptr) return;
  m_taskbar->SetProgressState(m_window, m_state);
  if (m_state == TBPF_NORMAL) m_taskbar->SetProgressValue(m_window, m_completed, kTotal);
}
