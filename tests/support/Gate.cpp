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
  m_changed.wait(lock, [this] { return !m_armed; });
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
  m_changed.notify_all();
}
