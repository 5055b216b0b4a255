#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "scan/TreeWalk.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/TreeDump.h"

namespace {

// Turns on once it has been polled the number of times allowed.
class CountingAbort : public AbortSignal {
 public:
  explicit CountingAbort(int allowed) : m_allowed(allowed) {}
  bool IsSet() const override { return ++m_polls > m_allowed; }

 private:
  int m_allowed;
  mutable int m_polls = 0;
};

class ScanEngineTest : public ::testing::Test {
 protected:
  ScanSummary Scan(AbortSignal* abort = nullptr) {
    ScanJob job{fs, folders, tree, abort};
    ScanDrives(job);
    return job.summary;
  }

  MemoryFileSystem fs;
  FolderStore folders;
  MemoryTree tree;
};

TEST_F(ScanEngineTest, WalksEachDriveBreadthFirstInListingOrder) {
  fs.AddDrive('C');
  fs.AddFolder("C:\\b\\deep");
  fs.AddFolder("C:\\a");
  fs.AddFile("C:\\a\\x.txt", 10);
  fs.AddFile("C:\\b\\deep\\y.bin", 7);
  fs.AddFile("C:\\root.sys", 3);
  fs.AddDrive('D');
  fs.AddFolder("D:\\Data");

  const ScanSummary summary = Scan();

  EXPECT_EQ(DumpRecords(tree),
            "C: 3\n"
            "  b 0\n"
            "    deep 7\n"
            "  a 10\n"
            "D: 0\n"
            "  Data 0\n");
  EXPECT_EQ(MisplacedRecords(tree), "");
  EXPECT_EQ(summary.folders, 6u);
  EXPECT_EQ(summary.unreadableFolders, 0u);
  EXPECT_FALSE(summary.aborted);
}

TEST_F(ScanEngineTest, InsertsEveryFolderBeforeListingTheNextLevel) {
  // Breadth first: both depth-1 folders are listed before any depth-2 folder.
  fs.AddDrive('C');
  fs.AddFolder("C:\\a\\a1");
  fs.AddFolder("C:\\b\\b1");
  Scan();
  std::vector<std::string> order;
  for (TreeItem item = 1; item <= tree.GetCount(); ++item) order.push_back(tree.GetItemData(item)->name);
  EXPECT_EQ(order, (std::vector<std::string>{"C:", "a", "b", "a1", "b1"}));
}

TEST_F(ScanEngineTest, SkipsDrivesThatAreNotFixed) {
  fs.AddDrive('A', false);
  fs.AddDrive('C');
  fs.AddDrive('E', false);
  fs.AddFile("E:\\big", 1000);
  Scan();
  EXPECT_EQ(DumpRecords(tree), "C: 0\n");
}

TEST_F(ScanEngineTest, NoDriveLeavesTheTreeEmpty) {
  EXPECT_EQ(Scan().folders, 0u);
  EXPECT_EQ(tree.GetCount(), 0u);
}

TEST_F(ScanEngineTest, CountsLargeHiddenAndDottedEntries) {
  fs.AddDrive('C');
  fs.AddFile("C:\\huge.vhd", 4294967296ull);
  fs.AddFile("C:\\.hidden", 1);
  fs.AddFile("C:\\.git\\HEAD", 41);
  fs.AddFile("C:\\...\\x", 5);
  fs.AddRawEntry("C:", {".", true, 0});
  fs.AddRawEntry("C:", {"..", true, 0});
  Scan();
  EXPECT_EQ(DumpRecords(tree),
            "C: 4294967297\n"
            "  .git 41\n"
            "  ... 5\n");
}

TEST_F(ScanEngineTest, FolderSizePastTwoToTheSixtyFourStopsThereInsteadOfWrapping) {
  constexpr std::uint64_t kLargestFile = (1ull << 63) - 1;  // as Linux allows
  fs.AddDrive('C');
  fs.AddFile("C:\\one", kLargestFile);
  fs.AddFile("C:\\two", kLargestFile);
  fs.AddFile("C:\\three", kLargestFile);
  fs.AddFile("C:\\after", 5);
  Scan();
  EXPECT_EQ(DumpRecords(tree), "C: 18446744073709551615\n");
}

TEST_F(ScanEngineTest, FolderThatCannotBeListedKeepsAnEmptyItem) {
  fs.AddDrive('C');
  fs.AddFile("C:\\locked\\secret\\s", 9);
  fs.FailListing("C:\\locked");
  fs.AddFolder("C:\\empty");
  fs.AddFolder("C:\\open");
  const ScanSummary summary = Scan();
  EXPECT_EQ(DumpRecords(tree),
            "C: 0\n"
            "  locked 0\n"
            "  empty 0\n"
            "  open 0\n");
  EXPECT_EQ(summary.unreadableFolders, 1u) << "an empty folder is not unreadable";
  std::vector<std::string> unreadable;
  for (TreeItem item = 1; item <= tree.GetCount(); ++item) {
    if (tree.GetItemData(item)->unreadable) unreadable.push_back(tree.GetItemData(item)->name);
  }
  EXPECT_EQ(unreadable, std::vector<std::string>{"locked"}) << "the record says which folder it was";
}

TEST_F(ScanEngineTest, EmptyDriveRootIsNotUnreadable) {
  fs.AddDrive('C');
  EXPECT_EQ(Scan().unreadableFolders, 0u);
  EXPECT_EQ(DumpRecords(tree), "C: 0\n");
}

TEST_F(ScanEngineTest, NamesNoPathCanHoldAreCountedAndSkipped) {
  fs.AddDrive('C');
  fs.AddRawEntry("C:", {"a:b", true, 0});  // a colon outside a drive name
  fs.AddRawEntry("C:", {"D:", true, 0});   // a drive name below a folder
  fs.AddRawEntry("C:", {"p|pe", true, 0});
  fs.AddFile("C:\\after\\f", 2);
  const ScanSummary summary = Scan();
  EXPECT_EQ(DumpRecords(tree),
            "C: 0\n"
            "  after 2\n");
  EXPECT_EQ(summary.unreadableFolders, 3u);
}

TEST_F(ScanEngineTest, LongNamesOutsideAsciiAreEnteredAndCounted) {
  // Legal NTFS names (at most 255 UTF-16 units) that pass 260 bytes in UTF-8.
  std::string cjk, emoji;
  for (int i = 0; i < 90; ++i) cjk += u8"\u6587";        // 3 bytes, one unit each
  for (int i = 0; i < 70; ++i) emoji += u8"\U0001F4C1";  // 4 bytes, two units each
  fs.AddDrive('C');
  fs.AddFile("C:\\" + cjk + "\\" + emoji + "\\f", 5000);
  fs.AddFile("C:\\" + cjk + "\\g", 7000);
  const ScanSummary summary = Scan();
  EXPECT_EQ(DumpRecords(tree), "C: 0\n  " + cjk + " 7000\n    " + emoji + " 5000\n");
  EXPECT_EQ(summary.unreadableFolders, 0u);
}

TEST_F(ScanEngineTest, ListsThroughThePathTheEngineBuilds) {
  // A drive root is listed as 'C:\*', a folder as 'C:\a b\*'.
  fs.AddDrive('C');
  fs.AddFile("C:\\a b\\c d\\f", 1);
  Scan();
  EXPECT_EQ(DumpRecords(tree), "C: 0\n  a b 0\n    c d 1\n");
  EXPECT_EQ(fs.OpenCount(), 3);
}

// The walk keeps names and patterns in blocks of 64 KiB that it lets go of
// as it moves on: paths longer than a block, and a parent whose pattern lies
// in a block older than its subfolders' names, must still list whole.
TEST_F(ScanEngineTest, PathsAndNamesPastABlockOfTextListWhole) {
  const std::string name(250, 'n');
  std::string deep = "C:";
  std::string expected = "C: 0\n";
  for (int level = 0; level < 300; ++level) {
    deep += "\\" + name;
    expected += std::string(2 * (level + 1), ' ') + name + (level == 299 ? " 3\n" : " 0\n");
  }
  fs.AddDrive('C');
  fs.AddFile(deep + "\\f", 3);
  fs.AddDrive('D');
  expected += "D: 0\n";
  for (int i = 0; i < 600; ++i) {
    const std::string wide = name.substr(0, 200) + std::to_string(1000 + i);
    fs.AddFile("D:\\" + wide + "\\f", 1);
    expected += "  " + wide + " 1\n";
  }
  const ScanSummary summary = Scan();
  EXPECT_EQ(DumpRecords(tree), expected);
  EXPECT_EQ(summary.unreadableFolders, 0u);
}

TEST_F(ScanEngineTest, AbortBeforeStartInsertsNothing) {
  fs.AddDrive('C');
  AbortFlag abort;
  abort.Set();
  const ScanSummary summary = Scan(&abort);
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_TRUE(summary.aborted);
}

TEST_F(ScanEngineTest, AbortMidFolderKeepsPartialSizesAndSkipsLaterDrives) {
  fs.AddDrive('C');
  fs.AddFile("C:\\f1", 100);
  fs.AddFolder("C:\\sub");
  fs.AddFile("C:\\f2", 20);
  fs.AddFile("C:\\sub\\inner", 1);
  fs.AddDrive('D');

  // Turns on after five polls: the drive passes A, B and C, the folder 'C:'
  // and its first entry.
  CountingAbort abort(5);

  const ScanSummary summary = Scan(&abort);
  EXPECT_TRUE(summary.aborted);
  EXPECT_EQ(DumpRecords(tree), "C: 100\n");
}

struct FolderShown {
  std::uint64_t ownFiles;
  int subfolders;
  bool cutShort;
  bool operator==(const FolderShown& other) const {
    return ownFiles == other.ownFiles && subfolders == other.subfolders;
  }
};

// Every folder of a tree by its path.
std::map<std::string, FolderShown> FoldersShown(const MemoryTree& tree) {
  std::map<std::string, FolderShown> shown;
  WalkPreOrder(tree, [&](TreeItem item) {
    std::string path;
    for (TreeItem at = item; at != kNoItem; at = tree.GetParentItem(at))
      path = tree.GetItemData(at)->name + ("\\" + path);
    int subfolders = 0;
    for (TreeItem child = tree.GetChildItem(item); child != kNoItem; child = tree.GetNextSiblingItem(child))
      ++subfolders;
    const FolderRecord& record = *tree.GetItemData(item);
    shown[path] = FolderShown{record.size, subfolders, record.incomplete};
  });
  return shown;
}

// Stopped after every number of polls in turn: each folder an abort left
// unmarked holds all its files and all its subfolders, as a full scan finds them.
TEST_F(ScanEngineTest, AnAbortMarksEveryFolderItLeftShort) {
  const auto build = [](MemoryFileSystem& files) {
    files.AddDrive('C');
    files.AddFolder("C:\\a");
    files.AddFile("C:\\a\\f", 3);
    files.AddFolder("C:\\a\\x");
    files.AddFile("C:\\a\\x\\g", 5);
    files.AddFile("C:\\a\\h", 7);
    files.AddFolder("C:\\b");
    files.AddFile("C:\\b\\i", 11);
  };
  build(fs);
  Scan();
  const std::map<std::string, FolderShown> whole = FoldersShown(tree);

  int cutsSeen = 0;
  for (int polls = 0;; ++polls) {
    MemoryFileSystem files;
    build(files);
    FolderStore cutFolders;
    MemoryTree cut;
    CountingAbort abort(polls);
    ScanJob job{files, cutFolders, cut, &abort};
    ScanDrives(job);
    const std::map<std::string, FolderShown> shown = FoldersShown(cut);
    EXPECT_EQ(MisplacedRecords(cut), "") << "after " << polls << " polls";
    for (const auto& [path, folder] : shown) {
      cutsSeen += folder.cutShort ? 1 : 0;
      if (!folder.cutShort) {
        EXPECT_EQ(folder, whole.at(path)) << path << " after " << polls << " polls";
      }
    }
    if (!job.summary.aborted) break;
  }
  EXPECT_GT(cutsSeen, 3);
  for (const auto& [path, folder] : whole) EXPECT_FALSE(folder.cutShort) << path << " in a full scan";
}

}  // namespace
