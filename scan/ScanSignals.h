#pragma once
#include <atomic>

// Polled by the worker between entries, never waited on.
class AbortSignal {
 public:
  virtual ~AbortSignal() = default;
  virtual bool IsSet() const = 0;
};

// A manual-reset flag: once set, every later poll sees it until Reset.
class AbortFlag : public AbortSignal {
 public:
  bool IsSet() const override { return m_set.load(std::memory_order_acquire); }
  void Set() { m_set.store(true, std::memory_order_release); }
  void Reset() { m_set.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> m_set{false};
};

// Tells the front end that a scan has ended; posted, never waited for.
class CompletionNotice {
 public:
  virtual ~CompletionNotice() = default;
  virtual void Post() = 0;
};
