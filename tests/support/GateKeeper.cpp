#include "tests/support/GateKeeper.h"

GateKeeper::GateKeeper() : m_thread([this] { Run(); }) {}

GateKeeper::~GateKeeper() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void GateKeeper::Watch(Gate& gate, const AbortProbe& probe, std::chrono::microseconds delay) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_gate = &gate;
  m_probe = &probe;
  m_delay = delay;
  m_closing = false;
  m_abortSince = {};
  m_releaseAt = {};
}

void GateKeeper::Closing() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_probe = nullptr;
  m_closing = true;
  m_abortSince = Clock::now();
}

void GateKeeper::Unwatch() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_gate = nullptr;
  m_probe = nullptr;
  m_closing = false;
}

void GateKeeper::ReleaseAfter(std::chrono::microseconds delay) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_releaseAt = Clock::now() + delay;
}

// Polls: an abort request is a flag, not something one can wait for.
void GateKeeper::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_stopping) {
    if (m_gate != nullptr) ReleaseWhenDue(Clock::now());
    m_wake.wait_for(lock, std::chrono::microseconds(100));
  }
}

void GateKeeper::ReleaseWhenDue(Clock::time_point now) {
  if (m_releaseAt != Clock::time_point{} && now >= m_releaseAt) {
    m_gate->Release();
    m_releaseAt = {};
  }
  if (!m_closing) {
    const bool requested = m_probe != nullptr && m_probe->IsAbortRequested();
    if (!requested) {
      m_abortSince = {};
      return;
    }
    if (m_abortSince == Clock::time_point{}) m_abortSince = now;
  }
  // Every time, not once: the worker meets the gate only when it gets there.
  if (now - m_abortSince >= m_delay) m_gate->Release();
}
