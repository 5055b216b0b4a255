#pragma once
// What a storm runs under. A watchdog ends the run when one sequence takes far longer
// than any should (a hang: the dialog's thread waits for a worker that never ends, or
// the scan's end never comes), printing what was under way: a hang fails the run
// instead of stalling it until a time-out. A sanitizer that ends the run prints the same.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class StormGuards {
 public:
  explicit StormGuards(std::chrono::seconds hangLimit);
  ~StormGuards();
  StormGuards(const StormGuards&) = delete;
  StormGuards& operator=(const StormGuards&) = delete;

  // A sequence starts (and its hang clock), described for whoever must end the run.
  void Begin(const std::string& sequence, const std::string& steps);
  void Step(const std::string& step);
  void End();

  // After a sequence: false when LeakSanitizer found memory nothing points to any more
  // (it prints what and where). True where it does not run.
  static bool NoLeaks();

  // The sequence and step under way, for the messages that end a run.
  std::string UnderWay();

 private:
  void Watch();

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::chrono::seconds m_hangLimit;
  bool m_stopping = false;
  bool m_active = false;
  std::chrono::steady_clock::time_point m_started;
  std::string m_sequence;
  std::string m_steps;
  std::string m_step;
  std::thread m_watchdog;  // last: it starts once everything above is set up
};
