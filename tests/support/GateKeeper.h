#pragma once
// A second thread that opens the gate while the dialog's thread cannot: an Abort or a
// close waits for the worker, which may be held at the gate. It opens the gate a set
// delay after the dialog asks the worker to stop (or after a close begins), and at
// moments the storm asks for.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/support/Gate.h"

// What the keeper watches: whether the dialog has asked its worker to stop. Called on
// the keeper's thread while the dialog's thread runs.
class AbortProbe {
 public:
  virtual ~AbortProbe() = default;
  virtual bool IsAbortRequested() const = 0;
};

class GateKeeper {
 public:
  GateKeeper();
  ~GateKeeper();
  GateKeeper(const GateKeeper&) = delete;
  GateKeeper& operator=(const GateKeeper&) = delete;

  // From now on the gate opens delay after probe reports an abort request.
  void Watch(Gate& gate, const AbortProbe& probe, std::chrono::microseconds delay);
  // The probe is not called again once this returns (the dialog may go); the gate
  // opens delay after now, and again whenever it is armed, until Unwatch.
  void Closing();
  void Unwatch();
  void ReleaseAfter(std::chrono::microseconds delay);

 private:
  using Clock = std::chrono::steady_clock;
  void Run();
  void ReleaseWhenDue(Clock::time_point now);

  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_stopping = false;
  Gate* m_gate = nullptr;
  const AbortProbe* m_probe = nullptr;
  std::chrono::microseconds m_delay{0};
  bool m_closing = false;
  Clock::time_point m_abortSince{};  // when the request was first seen; epoch: none
  Clock::time_point m_releaseAt{};   // a release asked for; epoch: none
  std::thread m_thread;              // last: it starts once everything above is set up
};
