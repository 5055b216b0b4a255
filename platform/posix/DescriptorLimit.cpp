#include "platform/posix/DescriptorLimit.h"

#include <sys/resource.h>

#include <atomic>
#include <mutex>

namespace {

std::once_flag g_raised;
rlimit g_original{};
std::atomic<bool> g_changed{false};  // published once g_original holds the limit
static_assert(std::atomic<bool>::is_always_lock_free, "read between fork and exec");

}  // namespace

void RaiseDescriptorLimit() {
  std::call_once(g_raised, [] {
    rlimit limit;
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
    rlim_t wanted = kWantedDescriptors;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < wanted) wanted = limit.rlim_max;
    if (limit.rlim_cur >= wanted) return;
    const rlimit original = limit;
    limit.rlim_cur = wanted;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) return;
    g_original = original;
    g_changed.store(true, std::memory_order_release);
  });
}

void GiveOriginalDescriptorLimitToThisChild() noexcept {
  if (!g_changed.load(std::memory_order_acquire)) return;
  ::setrlimit(RLIMIT_NOFILE, &g_original);
}
