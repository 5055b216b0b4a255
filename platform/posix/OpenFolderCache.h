#pragma once
// Opens folders relative to an open ancestor, one name at a time, so that
// the kernel never resolves a long path: deep chains cost no more than
// shallow ones and folders past PATH_MAX open like any other. It keeps the
// ancestors of the last folder opened; in breadth-first order the next
// folder is nearly always a sibling or a cousin and needs one open call.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/UniqueFd.h"

class OpenFolderCache {
 public:
  // At most maxOpenAncestors descriptors are held besides the root's.
  explicit OpenFolderCache(std::size_t maxOpenAncestors = 64);

  // Opens nativeRoot/names... for reading its entries. names are in the
  // engine's form and mapped back here. Symbolic links are never followed
  // below the root. Closed with errno set on failure.
  UniqueFd OpenForListing(const std::string& nativeRoot, const std::vector<std::string_view>& names);

  // Drops every descriptor held.
  void Clear();

 private:
  struct Level {
    std::string name;  // the engine's form; empty for the root
    UniqueFd fd;       // closed when given up to save descriptors
  };

  bool UseRoot(const std::string& nativeRoot);
  std::size_t SharedDepth(const std::vector<std::string_view>& names) const;
  // Reopens the deepest level from the nearest open one above it.
  bool ReopenDeepest();
  bool PushLevel(std::string_view name);
  void LimitOpenLevels();
  UniqueFd OpenChild(int parent, std::string_view name, int flags);

  std::size_t m_maxOpen;
  std::size_t m_openCount = 0;  // open levels besides the root
  std::string m_root;
  std::vector<Level> m_levels;  // m_levels[0] is the root
  std::string m_nativeName;
};
