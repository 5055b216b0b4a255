#include "app/WorkerEnd.h"

namespace {

void FreeRecords(const std::vector<FolderRecord*>& records) {
  for (FolderRecord* record : records) DeleteFolderRecord(record);
}

}  // namespace

void WorkerEnd::MarkEnded() {
  std::vector<FolderRecord*> records;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ended = true;
    records.swap(m_recordsToFree);
    m_endedChanged.notify_all();
  }
  FreeRecords(records);
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

void WorkerEnd::FreeWhenEnded(std::vector<FolderRecord*> records) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_ended) {
      m_recordsToFree.insert(m_recordsToFree.end(), records.begin(), records.end());
      return;
    }
  }
  FreeRecords(records);
}
