// Reading ahead over the real file system: an abort in the middle of a scan,
// and scans one after another as Refresh makes them, leave no thread and no
// descriptor behind.

#include <dirent.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/posix/PosixFileSystem.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ReadAheadFileSystem.h"
#include "scan/ScanEngine.h"
#include "tests/platform/posix/TempTree.h"

namespace {

int OpenDescriptors() {
  int count = 0;
  DIR* dir = ::opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  while (const dirent* entry = ::readdir(dir)) count += entry->d_name[0] != '.';
  ::closedir(dir);
  return count;
}

// Aborts the scan once it has inserted `after` folders.
class AbortingTree : public MemoryTree, public AbortSignal {
 public:
  explicit AbortingTree(std::size_t after) : m_after(after) {}
  bool IsSet() const override { return GetCount() >= m_after; }

 private:
  std::size_t m_after;
};

class ReadAheadPosixTest : public ::testing::Test {
 protected:
  ReadAheadPosixTest() {
    for (int folder = 0; folder < 40; ++folder) {
      const std::string name = "f" + std::to_string(folder);
      tree.Folder(name);
      tree.Folder(name + "/inner");
      for (int file = 0; file < 100; ++file) tree.File(name + "/x" + std::to_string(file), 10);
    }
    auto drives = std::make_shared<DriveSet>();
    drives->Add(tree.Path(), tree.Path(), {});
    fs = std::make_unique<ReadAheadFileSystem>(std::make_unique<PosixFileSystem>(drives),
                                               [](char) { return 4u; });
  }

  TempTree tree;
  std::unique_ptr<ReadAheadFileSystem> fs;
};

TEST_F(ReadAheadPosixTest, AbortMidScanLeavesNoThreadAndNoDescriptor) {
  const int before = OpenDescriptors();
  for (std::size_t after : {2, 5, 20, 60}) {
    FolderStore folders;
    AbortingTree aborting(after);
    ScanJob job{*fs, folders, aborting, &aborting};
    ScanDrives(job);
    EXPECT_TRUE(job.summary.aborted) << after;
    EXPECT_EQ(fs->RunningThreads(), 0u) << after;
    EXPECT_EQ(OpenDescriptors(), before) << after;
  }
}

TEST_F(ReadAheadPosixTest, ScansOneAfterAnotherLeaveNoThreadAndNoDescriptor) {
  const int before = OpenDescriptors();
  for (int scan = 0; scan < 3; ++scan) {
    FolderStore folders;
    MemoryTree result;
    ScanJob job{*fs, folders, result};
    ScanDrives(job);
    EXPECT_EQ(job.summary.folders, 81u);
    EXPECT_EQ(job.summary.unreadableFolders, 0u);
    EXPECT_EQ(fs->RunningThreads(), 0u);
    EXPECT_EQ(OpenDescriptors(), before);
  }
}

}  // namespace
