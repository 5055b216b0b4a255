#pragma once
// The end of one scan's worker, and the records a dialog left it to free then: a
// dialog that stops waiting for a worker (closing after the time limit) cannot free
// records the worker may still be writing.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "scan/FolderRecord.h"

class WorkerEnd {
 public:
  // The worker's last act: frees whatever it was left.
  void MarkEnded();
  bool HasEnded() const;
  // True once the worker has ended; false when the limit passed first.
  bool WaitFor(std::chrono::milliseconds limit);
  // Frees the records at once if the worker has ended, else when it does.
  void FreeWhenEnded(std::vector<FolderRecord*> records);

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_endedChanged;
  bool m_ended = false;
  std::vector<FolderRecord*> m_recordsToFree;
};
