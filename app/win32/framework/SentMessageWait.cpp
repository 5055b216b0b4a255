#include "app/win32/framework/SentMessageWait.h"

namespace {

DWORD RemainingTime(DWORD timeoutMs, DWORD started) {
  if (timeoutMs == INFINITE) return INFINITE;
  const DWORD elapsed = GetTickCount() - started;
  return elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
}

// Carries out every message sent to this thread; posted ones stay queued, in order.
void ServeSentMessages() {
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool WaitServingSentMessages(HANDLE object, DWORD timeoutMs) {
  const DWORD started = GetTickCount();
  for (;;) {
    // A message sent before the wait began would not wake it: serve those first.
    ServeSentMessages();
    const DWORD remaining = RemainingTime(timeoutMs, started);
    const DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, remaining, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke != WAIT_OBJECT_0 + 1) return false;  // timed out, or the handle is unusable
  }
}
