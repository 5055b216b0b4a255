#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "platform/posix/ThreadPriority.h"

namespace {

int NiceOfThisThread() { return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid))); }

// The thread that lists gives way; the rest of the process keeps its priority.
TEST(ThreadPriority, LowersTheCallingThreadAlone) {
  const int before = NiceOfThisThread();
  int lowered = before;
  std::thread listing([&lowered] {
    LowerThisThreadsPriority();
    lowered = NiceOfThisThread();
  });
  listing.join();
  EXPECT_EQ(lowered, std::min(before + kYieldingNiceSteps, 19));
  EXPECT_EQ(NiceOfThisThread(), before);
}

}  // namespace
