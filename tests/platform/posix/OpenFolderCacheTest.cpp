#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/OpenFolderCache.h"
#include "tests/platform/posix/TempTree.h"

namespace {

std::vector<std::string_view> Split(const std::string& path) {
  std::vector<std::string_view> names;
  std::string_view rest(path);
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    names.push_back(rest.substr(0, slash));
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
  }
  return names;
}

ino_t InodeOf(int fd) {
  struct stat status;
  return ::fstat(fd, &status) == 0 ? status.st_ino : 0;
}

ino_t InodeAt(const TempTree& tree, const std::string& relative) {
  struct stat status;
  return ::fstatat(tree.Fd(), relative.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 ? status.st_ino : 0;
}

// Jumps between branches and depths in an order that makes a small cache
// give up, reopen and share ancestors; each open must land on its folder.
TEST(OpenFolderCache, EveryOpenLandsOnItsFolderWhateverCameBefore) {
  TempTree tree;
  const char* const folders[] = {"a", "a/b", "a/b/c", "a/b/c/d", "a/b/c/d/e", "a/x", "a/x/y", "z", "z/a"};
  for (const char* folder : folders) ASSERT_TRUE(tree.Folder(folder)) << folder;
  const std::string visits[] = {"a/b/c/d/e", "a/b/c/d",   "a/x/y",  "a/b/c/d/e", "a/b",
                                "z/a",       "a/b/c/d/e", "a",      "a/b/c",     "a/x",
                                "z/a",       "a/b/c/d/e", "a/b/c/d"};
  for (std::size_t limit : {2, 3, 64}) {
    OpenFolderCache cache(limit);
    for (const std::string& visit : visits) {
      const UniqueFd fd = cache.OpenForListing(tree.Path(), Split(visit));
      ASSERT_TRUE(fd.IsOpen()) << visit << " limit " << limit;
      EXPECT_EQ(InodeOf(fd.Get()), InodeAt(tree, visit)) << visit << " limit " << limit;
    }
  }
}

}  // namespace
