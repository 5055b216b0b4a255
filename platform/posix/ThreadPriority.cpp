#include "platform/posix/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

void LowerThisThreadsPriority() {
  // On Linux a thread's nice value is its own, set through its thread id.
  const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
  errno = 0;
  const int nice = ::getpriority(PRIO_PROCESS, thread);
  if (nice == -1 && errno != 0) return;
  constexpr int kLowest = 19;
  ::setpriority(PRIO_PROCESS, thread, std::min(nice + kYieldingNiceSteps, kLowest));
}
