#pragma once
// The end of one scan's worker, for a dialog to test or wait for.

#include <chrono>
#include <condition_variable>
#include <mutex>

class WorkerEnd {
 public:
  // The worker's last act.
  void MarkEnded();
  bool HasEnded() const;
  // True once the worker has ended; false when the limit passed first.
  bool WaitFor(std::chrono::milliseconds limit);

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_endedChanged;
  bool m_ended = false;
};
