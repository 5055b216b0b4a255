#include "platform/posix/OpenFolderCache.h"

#include <fcntl.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/NameMapping.h"
#include "platform/posix/OpenBeneath.h"
#include "scan/SpareBlocks.h"

namespace {

constexpr char kSeparator = '\\';

bool IsUsableName(std::string_view name) { return !name.empty() && name != "." && name != ".."; }

// 'a\b\c' in the engine's form to the native 'a/b/c'; false for a path
// with an empty name, '.' or '..', which could lead anywhere.
bool NativeRelativePath(std::string_view names, std::string& native) {
  native.clear();
  std::string name;
  for (;;) {
    const std::size_t cut = names.find(kSeparator);
    if (!IsUsableName(names.substr(0, cut))) return false;
    UnmapNameInto(names.substr(0, cut), name);
    native += name;
    if (cut == std::string_view::npos) return true;
    native += '/';
    names.remove_prefix(cut + 1);
  }
}

std::size_t HeldForLimit() {
  constexpr std::size_t kMostHeld = 4096;
  rlimit limit;
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMostHeld;
  return std::clamp<std::size_t>(static_cast<std::size_t>(limit.rlim_cur / 4), 1, kMostHeld);
}

// The last parent a thread found, and under which of the caches' states.
struct RecentParent {
  std::uint64_t generation = 0;
  std::string path;
  std::weak_ptr<const UniqueFd> folder;  // lets the cache give it back
};
thread_local RecentParent t_recentParent;
std::atomic<std::uint64_t> g_lastGeneration{0};

// A descriptor a folder, and a name: from memory the thread keeps.
SharedFd Shared(UniqueFd folder) {
  return std::allocate_shared<UniqueFd>(SpareBlockAllocator<UniqueFd>(), std::move(folder));
}
thread_local std::string t_name;

}  // namespace

bool IsOutOfDescriptors(int error) { return error == EMFILE || error == ENFILE; }

OpenFolderCache::OpenFolderCache(std::size_t maxHeld) : m_held(maxHeld != 0 ? maxHeld : HeldForLimit()) {
  StartAfresh();
}

void OpenFolderCache::StartAfresh() { m_generation = ++g_lastGeneration; }

void OpenFolderCache::Clear() {
  StartAfresh();
  m_held.Clear();
}

void OpenFolderCache::KeepAsParent(std::string_view path, SharedFd folder) {
  m_held.Keep(path, std::move(folder));
}

SharedFd OpenFolderCache::OpenForListing(const std::string& nativeRoot, std::string_view path) {
  int error = 0;
  SharedFd folder = TryOpenForListing(nativeRoot, path, error);
  // Once only: what is still short after everything kept was given back is
  // held by listings in progress, which this call cannot wait for.
  if (!folder && IsOutOfDescriptors(error)) {
    StartAfresh();
    if (m_held.GiveBack()) folder = TryOpenForListing(nativeRoot, path, error);
  }
  if (!folder) errno = error;
  return folder;
}

SharedFd OpenFolderCache::TryOpenForListing(const std::string& nativeRoot, std::string_view path,
                                            int& error) {
  const std::size_t cut = path.rfind(kSeparator);
  const SharedFd parent =
      ParentAt(nativeRoot, cut == std::string_view::npos ? path : path.substr(0, cut), error);
  if (!parent) return nullptr;
  std::string& name = t_name;
  name = ".";
  if (cut != std::string_view::npos) UnmapNameInto(path.substr(cut + 1), name);
  UniqueFd folder(OpenFolderForListing(parent->Get(), name.c_str()));
  if (!folder.IsOpen()) {
    error = errno;
    return nullptr;
  }
  return Shared(std::move(folder));
}

SharedFd OpenFolderCache::ParentAt(const std::string& nativeRoot, std::string_view path, int& error) {
  RecentParent& recent = t_recentParent;
  if (recent.generation == m_generation.load(std::memory_order_relaxed) && recent.path == path) {
    if (SharedFd found = recent.folder.lock()) return found;
  }
  SharedFd found = FindOrOpenParent(nativeRoot, path, error);
  if (found) {
    recent.generation = m_generation.load(std::memory_order_relaxed);
    recent.path.assign(path);
    recent.folder = found;
  }
  return found;
}

SharedFd OpenFolderCache::FindOrOpenParent(const std::string& nativeRoot, std::string_view path, int& error) {
  if (SharedFd found = m_held.Find(path)) return found;
  const std::size_t cut = path.find(kSeparator);
  if (cut == std::string_view::npos) {
    // The root is the one path followed as written: a folder given by a link is meant.
    return Kept(path, ::open(nativeRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC), error);
  }
  const SharedFd root = FindOrOpenParent(nativeRoot, path.substr(0, cut), error);
  if (!root) return nullptr;
  std::string relative;
  if (!NativeRelativePath(path.substr(cut + 1), relative)) {
    error = ENOENT;
    return nullptr;
  }
  return Kept(path, OpenFolderBeneath(root->Get(), relative).Release(), error);
}

SharedFd OpenFolderCache::Kept(std::string_view path, int fd, int& error) {
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  SharedFd folder = Shared(UniqueFd(fd));
  m_held.Keep(path, folder);
  return folder;
}
