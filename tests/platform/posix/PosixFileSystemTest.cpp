#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/posix/NameMapping.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/platform/posix/TempTree.h"

namespace {

struct Listed {
  ListingStatus status = ListingStatus::Failed;
  std::map<std::string, std::pair<bool, std::uint64_t>> entries;  // name: folder?, size
};

Listed List(FileSystem& fs, const std::string& pattern) {
  Listed listed;
  ListingResult result = fs.OpenListing(pattern.c_str());
  listed.status = result.status;
  DirectoryEntry entry;
  while (result.listing && result.listing->Next(entry)) {
    listed.entries[entry.name] = {entry.isFolder, entry.isFolder ? 0 : entry.size};
  }
  return listed;
}

std::shared_ptr<DriveSet> DriveOn(const std::string& folder, InnerMounts mounts = {}) {
  auto drives = std::make_shared<DriveSet>();
  drives->Add(folder, folder, std::move(mounts));
  return drives;
}

// Some checks run in a forked child, which may mount or drop privileges
// without touching the test process. It exits 0 when every check held, 1
// when one failed, and kChildCannotRun when it could not do what the checks
// need, which skips the test.
constexpr int kChildCannotRun = 77;

void ExpectChildPassed(pid_t child, const char* whyItCannotRun) {
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kChildCannotRun) GTEST_SKIP() << whyItCannotRun;
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

class PosixFileSystemTest : public ::testing::Test {
 protected:
  TempTree tree;
  PosixFileSystem fs{DriveOn(tree.Path())};
};

TEST_F(PosixFileSystemTest, MeasuresEntriesWithoutFollowingOrOpeningThem) {
  ASSERT_TRUE(tree.File("small", 123));
  ASSERT_TRUE(tree.File("sparse", 4ull << 30));
  ASSERT_TRUE(tree.File(".hidden", 5));
  ASSERT_EQ(::linkat(tree.Fd(), "small", tree.Fd(), "hardlink", 0), 0);
  ASSERT_EQ(::symlinkat("..", tree.Fd(), "up"), 0);
  ASSERT_EQ(::symlinkat("no/such/target", tree.Fd(), "dangling"), 0);
  ASSERT_EQ(::mkfifoat(tree.Fd(), "pipe", 0644), 0);
  ASSERT_TRUE(tree.Folder(".git"));
  ASSERT_TRUE(tree.Folder("..."));
  ASSERT_TRUE(tree.Folder("sub"));
  ASSERT_TRUE(tree.File("sub/inner", 9));

  const Listed listed = List(fs, "C:\\*");
  EXPECT_EQ(listed.status, ListingStatus::Opened);
  const std::map<std::string, std::pair<bool, std::uint64_t>> expected = {
      {"small", {false, 123}}, {"sparse", {false, 4ull << 30}},
      {".hidden", {false, 5}}, {"hardlink", {false, 123}},
      {"up", {false, 2}},      {"dangling", {false, 14}},
      {"pipe", {false, 0}},    {".git", {true, 0}},
      {"...", {true, 0}},      {"sub", {true, 0}},
  };
  EXPECT_EQ(listed.entries, expected);
}

TEST_F(PosixFileSystemTest, NamesNoPathCouldHoldAreListedMappedAndOpenBack) {
  const char* const names[] = {"a:b", "C:", "back\\slash", "q\"uote", "p|pe", "<x>", "*", "?"};
  std::uint64_t size = 1;
  for (const char* name : names) {
    ASSERT_TRUE(tree.Folder(name)) << name;
    ASSERT_TRUE(tree.File(std::string(name) + "/file", size++)) << name;
  }
  const Listed root = List(fs, "C:\\*");
  ASSERT_EQ(root.entries.size(), std::size(names));

  size = 1;
  for (const char* name : names) {
    const std::string mapped = MapName(name);
    ASSERT_EQ(root.entries.count(mapped), 1u) << name;
    const Listed inside = List(fs, "C:\\" + mapped + "\\*");
    EXPECT_EQ(inside.status, ListingStatus::Opened) << name;
    EXPECT_EQ(inside.entries,
              (std::map<std::string, std::pair<bool, std::uint64_t>>{{"file", {false, size++}}}))
        << name;
  }
}

// Entries taken many at a time, measured on several threads, come in the
// order and with the sizes one at a time gives, whatever the count asked for.
TEST_F(PosixFileSystemTest, EntriesTakenManyAtATimeAreTheSameAsOneByOne) {
  for (int i = 0; i < 1500; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_TRUE(tree.File("file" + n, static_cast<std::uint64_t>(i) * 7));
    if (i % 50 != 0) continue;
    ASSERT_TRUE(tree.Folder("folder" + n));
    ASSERT_TRUE(tree.File("a:b" + n, 3));  // a mapped name
    ASSERT_EQ(::symlinkat("file0", tree.Fd(), ("link" + n).c_str()), 0);
  }
  using Entry = std::tuple<std::string, bool, std::uint64_t>;
  std::vector<Entry> oneByOne;
  {
    ListingResult result = fs.OpenListing("C:\\*");
    ASSERT_EQ(result.status, ListingStatus::Opened);
    DirectoryEntry entry;
    while (result.listing->Next(entry)) oneByOne.emplace_back(entry.name, entry.isFolder, entry.size);
  }
  const ShareWork onThreeThreads = [](std::size_t count, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    const auto run = [&] {
      for (std::size_t i = next++; i < count; i = next++) work(i);
    };
    std::thread helper(run);
    std::thread another(run);
    run();
    helper.join();
    another.join();
  };
  for (std::size_t most : {1u, 7u, 256u, 100000u}) {
    ListingResult result = fs.OpenListing("C:\\*");
    ASSERT_EQ(result.status, ListingStatus::Opened);
    std::vector<Entry> many;
    const auto take = [&many](const DirectoryEntry& entry) {
      many.emplace_back(entry.name, entry.isFolder, entry.size);
    };
    while (result.listing->NextMany(most, take, onThreeThreads)) {
    }
    EXPECT_EQ(many, oneByOne) << most << " at a time";
  }
}

TEST_F(PosixFileSystemTest, OnlyTheLastNameIsAWildcard) {
  ASSERT_TRUE(tree.Folder("*"));
  ASSERT_TRUE(tree.File("*/one.txt", 1));
  ASSERT_TRUE(tree.File("*/two.bin", 2));
  ASSERT_TRUE(tree.Folder("other"));

  EXPECT_EQ(List(fs, "C:\\*\\*").entries.size(), 2u);
  const Listed filtered = List(fs, "C:\\*\\*.txt");
  ASSERT_EQ(filtered.entries.size(), 1u);
  EXPECT_EQ(filtered.entries.begin()->first, "one.txt");
}

struct StatusCase {
  const char* pattern;
  ListingStatus status;
};

TEST_F(PosixFileSystemTest, TellsEmptyFromFailed) {
  ASSERT_TRUE(tree.Folder("empty"));
  ASSERT_TRUE(tree.Folder("full"));
  ASSERT_TRUE(tree.File("full/x", 1));
  ASSERT_TRUE(tree.File("file", 1));
  ASSERT_EQ(::symlinkat("full", tree.Fd(), "link"), 0);
  ASSERT_EQ(::mkfifoat(tree.Fd(), "pipe", 0644), 0);

  const StatusCase cases[] = {
      {"C:\\empty\\*", ListingStatus::Empty},     {"C:\\full\\*", ListingStatus::Opened},
      {"C:\\missing\\*", ListingStatus::Failed},  {"C:\\file\\*", ListingStatus::Failed},
      {"C:\\link\\*", ListingStatus::Failed},     {"C:\\pipe\\*", ListingStatus::Failed},
      {"C:\\full\\..\\*", ListingStatus::Failed}, {"C:\\full\\\\*", ListingStatus::Failed},
      {"C:\\..\\full\\*", ListingStatus::Failed}, {"C:\\.\\full\\*", ListingStatus::Failed},
      {"C:\\\\full\\*", ListingStatus::Failed},   {"C:\\empty\\x\\*", ListingStatus::Failed},
      {"D:\\*", ListingStatus::Failed},           {"C:\\", ListingStatus::Failed},
  };
  for (const StatusCase& c : cases) EXPECT_EQ(List(fs, c.pattern).status, c.status) << c.pattern;

  TempTree emptyRoot;
  PosixFileSystem emptyDrive(DriveOn(emptyRoot.Path()));
  EXPECT_EQ(List(emptyDrive, "C:\\*").status, ListingStatus::Empty);
}

TEST_F(PosixFileSystemTest, MountPointsInsideTheDriveListAsEmpty) {
  ASSERT_TRUE(tree.Folder("sub"));
  ASSERT_TRUE(tree.Folder("sub/mnt"));
  ASSERT_TRUE(tree.File("sub/mnt/elsewhere", 100));
  PosixFileSystem withMount(DriveOn(tree.Path(), {"sub\\mnt"}));
  EXPECT_EQ(List(withMount, "C:\\sub\\*").status, ListingStatus::Opened);
  EXPECT_EQ(List(withMount, "C:\\sub\\mnt\\*").status, ListingStatus::Empty);
}

// A mount the table never saw is still not crossed. Mounting needs a
// mount namespace of the child's own.
TEST_F(PosixFileSystemTest, MountMadeAfterTheTableWasReadListsAsEmpty) {
  ASSERT_TRUE(tree.Folder("sub"));
  ASSERT_TRUE(tree.Folder("sub/mnt"));
  ASSERT_TRUE(tree.Folder("sub/plain"));
  ASSERT_TRUE(tree.File("sub/plain/file", 1));
  const std::string mountPoint = tree.Path() + "/sub/mnt";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("ambrell-test", mountPoint.c_str(), "tmpfs", 0, "size=1m") != 0) {
      ::_exit(kChildCannotRun);
    }
    // By path: the tree's descriptor still sees the namespace it was opened in.
    const bool filled = UniqueFd(::open((mountPoint + "/inside").c_str(), O_WRONLY | O_CREAT, 0644)).IsOpen();
    PosixFileSystem fs2(DriveOn(tree.Path()));
    const Listed sub = List(fs2, "C:\\sub\\*");
    const bool ok = filled && sub.entries.count("mnt") == 1 && sub.entries.at("mnt").first &&
                    List(fs2, "C:\\sub\\mnt\\*").status == ListingStatus::Empty &&
                    List(fs2, "C:\\sub\\plain\\*").status == ListingStatus::Opened;
    ::umount(mountPoint.c_str());
    ::_exit(ok ? 0 : 1);
  }
  ExpectChildPassed(child, "no mount namespace here");
}

TEST_F(PosixFileSystemTest, ListsTheRootAgainInANewWalk) {
  ASSERT_TRUE(tree.File("a", 1));
  ASSERT_TRUE(tree.Folder("b"));
  for (int walk = 0; walk < 2; ++walk) {
    fs.GetLogicalDrives();
    EXPECT_EQ(List(fs, "C:\\*").entries.size(), 2u);
  }
}

TEST_F(PosixFileSystemTest, ListsChainsFarPastPathMax) {
  const std::string name(20, 'n');
  UniqueFd folder(::dup(tree.Fd()));
  constexpr int kDepth = 300;
  for (int i = 0; i < kDepth; ++i) {
    ASSERT_EQ(::mkdirat(folder.Get(), name.c_str(), 0755), 0);
    folder.Reset(::openat(folder.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(folder.IsOpen());
  }
  UniqueFd bottom(::openat(folder.Get(), "bottom", O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
  ASSERT_EQ(::ftruncate(bottom.Get(), 77), 0);
  ASSERT_GT(tree.Path().size() + kDepth * (name.size() + 1), 4096u);

  // Breadth first, as the engine walks: each level lists the next.
  std::string folderPattern = "C:";
  for (int i = 0; i < kDepth; ++i) {
    const Listed level = List(fs, folderPattern + "\\*");
    ASSERT_EQ(level.status, ListingStatus::Opened) << "depth " << i;
    ASSERT_EQ(level.entries.count(name), 1u) << "depth " << i;
    folderPattern += "\\" + name;
  }
  const Listed last = List(fs, folderPattern + "\\*");
  EXPECT_EQ(last.entries, (std::map<std::string, std::pair<bool, std::uint64_t>>{{"bottom", {false, 77}}}));
}

// Root reads every folder; the check runs in a child that has given that up.
// Without search permission a folder's names can still be read, but not one
// of them measured or entered: it fails like a folder that cannot be read,
// whether it is reached from above or is the drive itself.
TEST_F(PosixFileSystemTest, FolderWithoutReadOrSearchPermissionFails) {
  const std::pair<const char*, mode_t> locked[] = {{"no-read", 0311}, {"no-search", 0644}, {"neither", 0}};
  for (const auto& folder : locked) {
    const std::string name = folder.first;
    ASSERT_TRUE(tree.Folder(name) && tree.File(name + "/file", 5000) && tree.Folder(name + "/sub"));
    ASSERT_EQ(::fchmodat(tree.Fd(), name.c_str(), folder.second, 0), 0);
  }
  ASSERT_TRUE(tree.Folder("open"));
  // Without search permission, whatever the first entry is, or with none at all.
  const char* const unsearchable[] = {"only-a-file", "only-a-folder", "nothing"};
  ASSERT_TRUE(tree.Folder("only-a-file") && tree.File("only-a-file/file", 1));
  ASSERT_TRUE(tree.Folder("only-a-folder") && tree.Folder("only-a-folder/sub"));
  ASSERT_TRUE(tree.Folder("nothing"));
  for (const char* name : unsearchable) ASSERT_EQ(::fchmodat(tree.Fd(), name, 0644, 0), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                             ::setresuid(65534, 65534, 65534) != 0)) {
      ::_exit(kChildCannotRun);
    }
    PosixFileSystem unprivileged(DriveOn(tree.Path()));
    PosixFileSystem unsearchableDrive(DriveOn(tree.Path() + "/no-search"));
    bool ok = List(unprivileged, "C:\\open\\*").status == ListingStatus::Empty &&
              List(unsearchableDrive, "C:\\*").status == ListingStatus::Failed;
    for (const auto& folder : locked) {
      ok = ok &&
           List(unprivileged, std::string("C:\\") + folder.first + "\\*").status == ListingStatus::Failed;
    }
    for (const char* name : unsearchable)
      ok = ok && List(unprivileged, std::string("C:\\") + name + "\\*").status == ListingStatus::Failed;
    ::_exit(ok ? 0 : 1);
  }
  ExpectChildPassed(child, "cannot drop privileges here");
}

}  // namespace
