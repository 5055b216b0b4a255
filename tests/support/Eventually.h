#pragma once
// Waiting in tests for what another thread must bring about. The limit is a
// guard against a hang, far above any machine's time for it, never a timing
// check.

#include <chrono>
#include <thread>

// Tries condition until it holds, calling step between tries; false once
// limit has passed.
template <typename Condition, typename Step>
bool EventuallyWith(Condition condition, Step step, std::chrono::seconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    step();
  }
  return true;
}

template <typename Condition>
bool Eventually(Condition condition, std::chrono::seconds limit = std::chrono::seconds(60)) {
  return EventuallyWith(
      condition, [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }, limit);
}
