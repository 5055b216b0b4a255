#include "app/WorkerEnd.h"

void WorkerEnd::MarkEnded() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_ended = true;
  m_endedChanged.notify_all();
}

bool WorkerEnd::HasEnded() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_ended;
}

bool WorkerEnd::WaitFor(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(m_mutex);
  const auto ended = [this] { return m_ended; };
  // No deadline for "forever": now plus the largest duration would overflow.
  if (limit == std::chrono::milliseconds::max()) {
    m_endedChanged.wait(lock, ended);
    return true;
  }
  return m_endedChanged.wait_for(lock, limit, ended);
}
