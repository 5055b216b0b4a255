#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/posix/OpenFolderCache.h"
#include "tests/platform/posix/TempTree.h"

namespace {

ino_t InodeOf(int fd) {
  struct stat status;
  return ::fstat(fd, &status) == 0 ? status.st_ino : 0;
}

ino_t InodeAt(const TempTree& tree, const std::string& relative) {
  struct stat status;
  return ::fstatat(tree.Fd(), relative.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 ? status.st_ino : 0;
}

// 'a/b' to the engine's 'C:\a\b'.
std::string EnginePath(std::string relative) {
  for (char& c : relative) {
    if (c == '/') c = '\\';
  }
  return relative.empty() ? "C:" : "C:\\" + relative;
}

SharedFd Held(int fd) { return std::make_shared<const UniqueFd>(fd); }

TEST(HeldFolders, KeepsTheMostRecentlyUsedWithinItsLimits) {
  HeldFolders held(2, 1000);
  held.Keep("C:\\a", Held(::dup(0)));
  held.Keep("C:\\b", Held(::dup(0)));
  EXPECT_NE(held.Find("C:\\a"), nullptr);  // now more recent than b
  held.Keep("C:\\c", Held(::dup(0)));
  EXPECT_EQ(held.Find("C:\\b"), nullptr);
  EXPECT_NE(held.Find("C:\\a"), nullptr);
  EXPECT_NE(held.Find("C:\\c"), nullptr);

  HeldFolders small(64, 10);
  small.Keep("C:\\aaaa", Held(::dup(0)));
  small.Keep("C:\\bbbb", Held(::dup(0)));  // 14 bytes of paths would pass the 10 allowed
  EXPECT_EQ(small.HeldCount(), 1u);
  small.Keep("C:\\far-too-long", Held(::dup(0)));
  EXPECT_EQ(small.Find("C:\\far-too-long"), nullptr);
}

TEST(HeldFolders, GivesEverythingBackAndHoldsFewerUntilCleared) {
  HeldFolders held(8);
  const SharedFd inUse = Held(::dup(0));
  for (const char* path : {"C:\\1", "C:\\2", "C:\\3", "C:\\4"}) held.Keep(path, Held(::dup(0)));
  held.Keep("C:\\in-use", inUse);
  EXPECT_TRUE(held.GiveBack());
  EXPECT_EQ(held.HeldCount(), 0u);
  EXPECT_TRUE(inUse->IsOpen());  // its user still has it
  EXPECT_FALSE(held.GiveBack());

  for (const char* path : {"C:\\1", "C:\\2", "C:\\3", "C:\\4"}) held.Keep(path, Held(::dup(0)));
  EXPECT_EQ(held.HeldCount(), 2u);  // half of the five held when it ran short
  held.Clear();
  for (const char* path : {"C:\\1", "C:\\2", "C:\\3", "C:\\4"}) held.Keep(path, Held(::dup(0)));
  EXPECT_EQ(held.HeldCount(), 4u);
}

// Jumps between branches and depths in an order that makes a small cache
// drop parents and find them again; each open must land on its folder.
TEST(OpenFolderCache, EveryOpenLandsOnItsFolderWhateverCameBefore) {
  TempTree tree;
  const char* const folders[] = {"a", "a/b", "a/b/c", "a/b/c/d", "a/b/c/d/e", "a/x", "a/x/y", "z", "z/a"};
  for (const char* folder : folders) ASSERT_TRUE(tree.Folder(folder)) << folder;
  const std::string visits[] = {"a/b/c/d/e", "a/b/c/d", "a/x/y", "",    "a/b/c/d/e", "a/b",       "z/a",
                                "a/b/c/d/e", "a",       "a/b/c", "a/x", "z/a",       "a/b/c/d/e", "a/b/c/d"};
  for (std::size_t limit : {1, 2, 64}) {
    OpenFolderCache cache(limit);
    for (const std::string& visit : visits) {
      const SharedFd fd = cache.OpenForListing(tree.Path(), EnginePath(visit));
      ASSERT_TRUE(fd && fd->IsOpen()) << visit << " limit " << limit;
      EXPECT_EQ(InodeOf(fd->Get()), InodeAt(tree, visit.empty() ? "." : visit))
          << visit << " limit " << limit;
    }
  }
}

// A cache that holds nothing of the chain must find its way down from the
// root, past PATH_MAX, in steps the kernel accepts.
TEST(OpenFolderCache, FindsAFolderFarPastPathMaxFromTheRootAlone) {
  TempTree tree;
  const std::string name(40, 'n');
  std::string relative;
  UniqueFd folder(::dup(tree.Fd()));
  for (int i = 0; i < 150; ++i) {
    relative += (relative.empty() ? "" : "/") + name;
    ASSERT_EQ(::mkdirat(folder.Get(), name.c_str(), 0755), 0);
    folder.Reset(::openat(folder.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  }
  ASSERT_GT(relative.size(), 4096u);
  OpenFolderCache cache;
  const SharedFd fd = cache.OpenForListing(tree.Path(), EnginePath(relative));
  ASSERT_TRUE(fd);
  EXPECT_EQ(InodeOf(fd->Get()), InodeOf(folder.Get()));
}

// A folder swapped for a link after it was queued: the way down refuses it
// rather than leaving the tree.
TEST(OpenFolderCache, NeverFollowsALinkOnTheWayDown) {
  TempTree tree;
  ASSERT_TRUE(tree.Folder("elsewhere"));
  ASSERT_TRUE(tree.Folder("elsewhere/inner"));
  ASSERT_TRUE(tree.Folder("elsewhere/inner/deepest"));
  ASSERT_EQ(::symlinkat("elsewhere", tree.Fd(), "swapped"), 0);
  OpenFolderCache cache;
  EXPECT_EQ(cache.OpenForListing(tree.Path(), "C:\\swapped\\inner\\deepest"), nullptr);
  EXPECT_EQ(cache.OpenForListing(tree.Path(), "C:\\swapped\\inner"), nullptr);
  EXPECT_EQ(cache.OpenForListing(tree.Path(), "C:\\swapped"), nullptr);
}

// The limit is lowered in a forked child: the test process keeps its own.
constexpr int kChildCannotRun = 77;

int RunInChild(bool (*check)(const TempTree&), const TempTree& tree) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(check(tree) ? 0 : 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Descriptors in use now, and a limit that leaves `spare` more.
bool LimitDescriptors(int spare) {
  int highest = 0;
  for (int fd = 0; fd < 1024; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1) highest = fd;
  }
  const rlimit limit{static_cast<rlim_t>(highest + 1 + spare), static_cast<rlim_t>(highest + 1 + spare)};
  return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

// Opening a 40-level chain level by level keeps every level; with only a
// few descriptors to spare the cache must give them back, never fail.
bool ChainOpensWithFewDescriptors(const TempTree& tree) {
  if (!LimitDescriptors(4)) ::_exit(kChildCannotRun);
  OpenFolderCache cache;
  std::string relative;
  for (int i = 0; i < 40; ++i) {
    relative += (relative.empty() ? "" : "/") + std::string("d");
    const SharedFd fd = cache.OpenForListing(tree.Path(), EnginePath(relative));
    if (!fd || InodeOf(fd->Get()) != InodeAt(tree, relative)) return false;
  }
  return true;
}

// With every descriptor taken by someone else, the open fails as out of
// descriptors, so a caller can tell it from an unreadable folder.
bool ExhaustedDescriptorsAreReported(const TempTree& tree) {
  if (!LimitDescriptors(6)) ::_exit(kChildCannotRun);
  OpenFolderCache cache;
  std::vector<int> taken;
  for (int fd; (fd = ::dup(0)) >= 0;) taken.push_back(fd);
  errno = 0;
  const bool failed = cache.OpenForListing(tree.Path(), "C:\\d") == nullptr && IsOutOfDescriptors(errno);
  ::close(taken.back());
  ::close(taken[0]);
  ::close(taken[1]);
  return failed && cache.OpenForListing(tree.Path(), "C:\\d") != nullptr;
}

TEST(OpenFolderCache, RunningShortOfDescriptorsGivesHeldOnesBack) {
  TempTree tree;
  std::string relative;
  for (int i = 0; i < 40; ++i) {
    relative += (relative.empty() ? "" : "/") + std::string("d");
    ASSERT_TRUE(tree.Folder(relative));
  }
  for (auto check : {ChainOpensWithFewDescriptors, ExhaustedDescriptorsAreReported}) {
    const int status = RunInChild(check, tree);
    if (status == kChildCannotRun) GTEST_SKIP() << "cannot lower the descriptor limit here";
    EXPECT_EQ(status, 0);
  }
}

}  // namespace
