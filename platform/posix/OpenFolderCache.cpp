#include "platform/posix/OpenFolderCache.h"

#include <fcntl.h>

#include <cerrno>

#include "platform/posix/NameMapping.h"

namespace {

constexpr int kAncestorFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kListingFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

}  // namespace

OpenFolderCache::OpenFolderCache(std::size_t maxOpenAncestors)
    : m_maxOpen(maxOpenAncestors < 2 ? 2 : maxOpenAncestors) {}

void OpenFolderCache::Clear() {
  m_levels.clear();
  m_root.clear();
  m_openCount = 0;
}

bool OpenFolderCache::UseRoot(const std::string& nativeRoot) {
  if (!m_levels.empty() && m_root == nativeRoot) return true;
  Clear();
  // The root is the one path followed as written: a folder given by a link is meant.
  UniqueFd fd(::open(nativeRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!fd.IsOpen()) return false;
  m_root = nativeRoot;
  m_levels.push_back(Level{std::string(), std::move(fd)});
  return true;
}

std::size_t OpenFolderCache::SharedDepth(const std::vector<std::string_view>& names) const {
  std::size_t depth = 0;
  while (depth < names.size() && depth + 1 < m_levels.size() && m_levels[depth + 1].name == names[depth])
    ++depth;
  return depth;
}

UniqueFd OpenFolderCache::OpenChild(int parent, std::string_view name, int flags) {
  UnmapNameInto(name, m_nativeName);
  return UniqueFd(::openat(parent, m_nativeName.c_str(), flags));
}

bool OpenFolderCache::ReopenDeepest() {
  std::size_t open = m_levels.size() - 1;
  while (!m_levels[open].fd.IsOpen()) --open;  // the root is always open
  for (std::size_t i = open + 1; i < m_levels.size(); ++i) {
    m_levels[i].fd = OpenChild(m_levels[i - 1].fd.Get(), m_levels[i].name, kAncestorFlags);
    if (!m_levels[i].fd.IsOpen()) {
      const int error = errno;
      m_levels.resize(i);
      errno = error;
      return false;
    }
    ++m_openCount;
    LimitOpenLevels();
  }
  return true;
}

bool OpenFolderCache::PushLevel(std::string_view name) {
  UniqueFd fd = OpenChild(m_levels.back().fd.Get(), name, kAncestorFlags);
  if (!fd.IsOpen()) return false;
  m_levels.push_back(Level{std::string(name), std::move(fd)});
  ++m_openCount;
  LimitOpenLevels();
  return true;
}

// The shallowest levels go first: the walk rarely climbs back to them.
void OpenFolderCache::LimitOpenLevels() {
  for (std::size_t i = 1; m_openCount > m_maxOpen && i + 1 < m_levels.size(); ++i) {
    if (m_levels[i].fd.IsOpen()) {
      m_levels[i].fd.Reset();
      --m_openCount;
    }
  }
}

UniqueFd OpenFolderCache::OpenForListing(const std::string& nativeRoot,
                                         const std::vector<std::string_view>& names) {
  if (!UseRoot(nativeRoot)) return UniqueFd();
  if (names.empty()) return UniqueFd(::openat(m_levels[0].fd.Get(), ".", kListingFlags));

  const std::size_t parentDepth = names.size() - 1;
  std::size_t depth = SharedDepth(names);
  if (depth > parentDepth) depth = parentDepth;
  for (std::size_t i = m_levels.size() - 1; i > depth; --i) {
    if (m_levels[i].fd.IsOpen()) --m_openCount;
  }
  m_levels.resize(depth + 1);
  if (!m_levels.back().fd.IsOpen() && !ReopenDeepest()) return UniqueFd();
  while (m_levels.size() <= parentDepth) {
    if (!PushLevel(names[m_levels.size() - 1])) return UniqueFd();
  }
  return OpenChild(m_levels.back().fd.Get(), names.back(), kListingFlags);
}
