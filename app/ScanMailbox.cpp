#include "app/ScanMailbox.h"

#include <utility>

ScanMailbox::ScanMailbox(std::function<void()> notify) : m_notify(std::move(notify)) {}

ScanMailbox::~ScanMailbox() = default;

void ScanMailbox::Deliver(std::unique_ptr<InsertionBatch> batch) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_batches.push_back(std::move(batch));
  NotifyLocked();
}

void ScanMailbox::Post() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_completed = true;
  NotifyLocked();
}

// One notice at a time: a GUI thread that falls behind collects many batches
// per notice instead of facing a queue of notices.
void ScanMailbox::NotifyLocked() {
  if (m_notified || !m_notify) return;
  m_notified = true;
  m_notify();
}

ScanMailbox::Contents ScanMailbox::Collect() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_notified = false;
  Contents contents;
  contents.batches = std::exchange(m_batches, {});
  contents.completed = std::exchange(m_completed, false);
  return contents;
}

void ScanMailbox::Disconnect() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_notify = nullptr;
}
