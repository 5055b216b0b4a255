#pragma once
#include <windows.h>

#include "scan/ScanSignals.h"

// An abort signal over a manual-reset event that the GUI thread sets and
// resets; the handle stays its owner's. A null handle never aborts.
class Win32AbortEvent : public AbortSignal {
 public:
  explicit Win32AbortEvent(HANDLE event) : m_event(event) {}
  bool IsSet() const override;

 private:
  HANDLE m_event;
};
