#include "platform/win32/Win32AbortEvent.h"

bool Win32AbortEvent::IsSet() const {
  return m_event != nullptr && WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0;
}
