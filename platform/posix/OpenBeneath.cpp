#include "platform/posix/OpenBeneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>

namespace {

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The kernel resolves a path of at most PATH_MAX bytes per call.
constexpr std::size_t kMostPerCall = PATH_MAX - 1;

// Answers that may mean the call itself is refused here (a seccomp filter,
// an older kernel's view of the arguments) rather than that the path is wrong.
bool MaybeRefused(int error) { return error == EPERM || error == E2BIG || error == EINVAL; }

// Cleared on the first sign of a kernel without the call; a stale answer
// only costs speed.
std::atomic<bool> g_openAt2Exists{true};

int OpenAt2(int folder, const std::string& path) {
#ifdef SYS_openat2
  open_how how{};
  how.flags = kFolderFlags;
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
  return static_cast<int>(::syscall(SYS_openat2, folder, path.c_str(), &how, sizeof how));
#else
  (void)folder;
  (void)path;
  errno = ENOSYS;
  return -1;
#endif
}

// One name at a time, each refused when it is a link.
UniqueFd OpenNameByName(int folder, std::string_view relative) {
  UniqueFd current;
  std::string name;
  while (!relative.empty()) {
    const std::size_t slash = relative.find('/');
    name.assign(relative.substr(0, slash));
    relative = slash == std::string_view::npos ? std::string_view() : relative.substr(slash + 1);
    UniqueFd next(::openat(current.IsOpen() ? current.Get() : folder, name.c_str(), kFolderFlags));
    if (!next.IsOpen()) return next;
    current = std::move(next);
  }
  return current;
}

// The longest run of whole names that fits one call.
std::string_view TakeRun(std::string_view& relative) {
  std::size_t end = relative.size();
  if (end > kMostPerCall) {
    end = relative.rfind('/', kMostPerCall);
    if (end == std::string_view::npos || end == 0) end = relative.find('/');
  }
  const std::string_view run = relative.substr(0, end);
  relative = end >= relative.size() ? std::string_view() : relative.substr(end + 1);
  return run;
}

}  // namespace

UniqueFd OpenFolderBeneath(int folder, std::string_view relative) {
  if (!g_openAt2Exists.load(std::memory_order_relaxed)) return OpenNameByName(folder, relative);
  UniqueFd current;
  std::string run;
  std::string_view rest = relative;
  while (!rest.empty()) {
    run.assign(TakeRun(rest));
    UniqueFd next(OpenAt2(current.IsOpen() ? current.Get() : folder, run));
    if (!next.IsOpen()) {
      if (errno == ENOSYS) g_openAt2Exists.store(false, std::memory_order_relaxed);
      if (errno != ENOSYS && !MaybeRefused(errno)) return next;
      return OpenNameByName(folder, relative);
    }
    current = std::move(next);
  }
  return current;
}
