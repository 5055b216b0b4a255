#include "platform/posix/OpenBeneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>

namespace {

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kListingFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

// The kernel resolves a path of at most PATH_MAX bytes per call.
constexpr std::size_t kMostPerCall = PATH_MAX - 1;

// Answers that may mean the call itself is refused here (a seccomp filter,
// an older kernel's view of the arguments) rather than that the path is wrong.
bool MaybeRefused(int error) { return error == EPERM || error == E2BIG || error == EINVAL; }

// Cleared on the first sign of a kernel without the call; a stale answer
// only costs speed.
std::atomic<bool> g_openAt2Exists{true};

int OpenAt2(int folder, const char* path, int flags) {
#ifdef SYS_openat2
  open_how how{};
  how.flags = static_cast<std::uint64_t>(flags);
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
  return static_cast<int>(::syscall(SYS_openat2, folder, path, &how, sizeof how));
#else
  (void)folder;
  (void)path;
  (void)flags;
  errno = ENOSYS;
  return -1;
#endif
}

// After openat2 failed with error: whether to do without it, the call
// itself being missing (remembered) or refused here.
bool DoWithoutOpenAt2(int error) {
  if (error == ENOSYS) g_openAt2Exists.store(false, std::memory_order_relaxed);
  return error == ENOSYS || MaybeRefused(error);
}

// Without openat2, the mount is asked about once the folder is open.
bool IsMountRoot(int folder) {
#ifdef STATX_ATTR_MOUNT_ROOT
  struct statx status;
  if (::statx(folder, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, 0, &status) != 0) return false;
  return (status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
         (status.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
#else
  (void)folder;
  return false;
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
    UniqueFd next(OpenAt2(current.IsOpen() ? current.Get() : folder, run.c_str(), kFolderFlags));
    if (!next.IsOpen()) return DoWithoutOpenAt2(errno) ? OpenNameByName(folder, relative) : std::move(next);
    current = std::move(next);
  }
  return current;
}

UniqueFd OpenFolderForListing(int folder, const char* name) {
  if (g_openAt2Exists.load(std::memory_order_relaxed)) {
    UniqueFd opened(OpenAt2(folder, name, kListingFlags));
    if (opened.IsOpen() || !DoWithoutOpenAt2(errno)) return opened;
  }
  UniqueFd opened(::openat(folder, name, kListingFlags));
  const bool itself = name[0] == '.' && name[1] == '\0';
  if (opened.IsOpen() && !itself && IsMountRoot(opened.Get())) {
    errno = EXDEV;
    return UniqueFd();
  }
  return opened;
}
