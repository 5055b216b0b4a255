#pragma once
// Holds a worker thread at a chosen point until the test releases it, so a
// test can act "mid-scan" without depending on timing.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

class Gate {
 public:
  // Arms the gate for the point named key; a disarmed gate never holds.
  void Arm(std::string key);
  // Called by the worker at each point; blocks while the armed point is reached.
  void Pass(const std::string& key);
  // Test side: waits until the worker is held at the armed point.
  void WaitUntilHeld();
  // Test side, for a thread that must keep serving the worker while it waits.
  bool IsHeld();
  void Release();

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::string m_key;
  bool m_armed = false;
  bool m_held = false;
  std::uint64_t m_releases = 0;
};
