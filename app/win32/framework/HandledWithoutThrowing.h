#pragma once
// No C++ exception may cross the system's call of a window or dialog
// procedure: a message handler that throws counts as one that left the
// message unhandled, and the message gets its default treatment.

// Runs handle(), which answers whether it handled the message.
template <typename Handler>
bool HandledWithoutThrowing(Handler&& handle) noexcept {
  try {
    return handle();
  } catch (...) {
    return false;
  }
}
