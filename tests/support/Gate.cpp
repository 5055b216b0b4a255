#include "tests/support/Gate.h"

void Gate::Arm(std::string key) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_key = std::move(key);
  m_armed = true;
  m_held = false;
}

void Gate::Pass(const std::string& key) {
  std::unique_lock<std::mutex> lock(m_mutex);
  if (!m_armed || key != m_key) return;
  m_held = true;
  m_changed.notify_all();
  // Until a release, even one that a new Arm follows before this thread wakes: it
  // would otherwise stay held here, never reaching the point armed next.
  const std::uint64_t releases = m_releases;
  m_changed.wait(lock, [this, releases] { return m_releases != releases; });
}

bool Gate::IsHeld() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_held;
}

void Gate::WaitUntilHeld() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_held; });
}

void Gate::Release() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_armed = false;
  m_held = false;
  ++m_releases;
  m_changed.notify_all();
}
