#include "tests/support/StormGuards.h"

#include <cstdio>
#include <cstdlib>

#if defined(__has_feature)
#define AMBRELL_HAS_FEATURE(feature) __has_feature(feature)
#else
#define AMBRELL_HAS_FEATURE(feature) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || AMBRELL_HAS_FEATURE(address_sanitizer)
#define AMBRELL_ASAN 1
#endif
#if defined(__SANITIZE_THREAD__) || AMBRELL_HAS_FEATURE(thread_sanitizer)
#define AMBRELL_TSAN 1
#endif
#if defined(AMBRELL_ASAN) || defined(AMBRELL_TSAN)
#define AMBRELL_SANITIZED 1
#endif

#if defined(AMBRELL_SANITIZED)
#include <sanitizer/common_interface_defs.h>
#endif
#if defined(AMBRELL_ASAN)
#include <sanitizer/lsan_interface.h>
#endif

#if defined(AMBRELL_TSAN)
// A race ends a storm's run at once, like every other sanitizer report, so that the
// death callback can name the sequence it came from.
extern "C" const char* __tsan_default_options() { return "halt_on_error=1"; }
#endif

namespace {

StormGuards* g_guards = nullptr;  // the one storm running, for the sanitizers' last word

void PrintAndFlush(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}

#if defined(AMBRELL_SANITIZED)
void OnSanitizerDeath() {
  if (g_guards != nullptr) PrintAndFlush("storm: a sanitizer ended the run in " + g_guards->UnderWay());
}
#endif

}  // namespace

StormGuards::StormGuards(std::chrono::seconds hangLimit)
    : m_hangLimit(hangLimit), m_watchdog([this] { Watch(); }) {
  g_guards = this;
#if defined(AMBRELL_SANITIZED)
  __sanitizer_set_death_callback(&OnSanitizerDeath);
#endif
}

StormGuards::~StormGuards() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  m_watchdog.join();
#if defined(AMBRELL_SANITIZED)
  __sanitizer_set_death_callback(nullptr);
#endif
  g_guards = nullptr;
}

void StormGuards::Begin(const std::string& sequence, const std::string& steps) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_active = true;
  m_started = std::chrono::steady_clock::now();
  m_sequence = sequence;
  m_steps = steps;
  m_step = "opening";
}

void StormGuards::Step(const std::string& step) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_step = step;
}

void StormGuards::End() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_active = false;
}

std::string StormGuards::UnderWay() {
  // The sanitizer's callback may come while this thread holds the lock.
  std::unique_lock<std::mutex> lock(m_mutex, std::try_to_lock);
  if (!lock.owns_lock()) return "a sequence whose description is being written";
  return m_sequence + ", at " + m_step + m_steps;
}

// The dialog's thread may be stuck for good: only ending the process ends the run.
void StormGuards::Watch() {
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_stopping) {
    m_wake.wait_for(lock, std::chrono::milliseconds(200));
    if (m_active && std::chrono::steady_clock::now() - m_started > m_hangLimit) {
      PrintAndFlush("storm: HANG: no end after " + std::to_string(m_hangLimit.count()) + " s in " +
                    m_sequence + ", at " + m_step + m_steps);
      std::_Exit(1);
    }
  }
}

bool StormGuards::NoLeaks() {
#if defined(AMBRELL_ASAN)
  return __lsan_do_recoverable_leak_check() == 0;
#else
  return true;
#endif
}
