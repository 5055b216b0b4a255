#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/DisplayPath.h"
#include "scan/FolderPath.h"
#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"

namespace {

class FolderPathTest : public ::testing::Test {
 protected:
  InsertedItem Add(InsertedItem parent, const char* name) {
    return tree.Insert(parent, name,
                       folders.Add(name, parent == kTopLevel ? nullptr : tree.GetItemData(parent)));
  }
  // From the tree, and the same from the records' own parents.
  std::string CommandLineOf(TreeItem item) {
    tree.SelectItem(item);
    const CPath path = FolderPathOf(tree, tree.GetSelectedItem());
    if (item != kNoItem) {
      EXPECT_STREQ(TextOrEmpty(FolderPathOf(*tree.GetItemData(item)).ToString()),
                   TextOrEmpty(path.ToString()));
    }
    return path.GetCount() == 0 ? "" : ExplorerCommandLine(path).GetText();
  }
  FolderStore folders;
  MemoryTree tree;
};

TEST_F(FolderPathTest, BuildsTheCommandLineFromTheItemAndItsAncestors) {
  const InsertedItem c = Add(kTopLevel, "C:");
  const InsertedItem windows = Add(c, "Windows");
  const InsertedItem system32 = Add(windows, "System32");
  const InsertedItem d = Add(kTopLevel, "D:");
  const InsertedItem data = Add(d, "Data");
  const InsertedItem blanks = Add(data, "My  Old Files ");

  EXPECT_EQ(CommandLineOf(c), "explorer.exe \"C:\\\"");
  EXPECT_EQ(CommandLineOf(system32), "explorer.exe \"C:\\Windows\\System32\"");
  EXPECT_EQ(CommandLineOf(data), "explorer.exe \"D:\\Data\"");
  EXPECT_EQ(CommandLineOf(blanks), "explorer.exe \"D:\\Data\\My  Old Files \"");
}

TEST_F(FolderPathTest, NoSelectionGivesAnEmptyPath) {
  Add(kTopLevel, "C:");
  EXPECT_EQ(FolderPathOf(tree, tree.GetSelectedItem()).GetCount(), 0u);
}

TEST_F(FolderPathTest, LongPathsAreNotCut) {
  InsertedItem item = Add(kTopLevel, "C:");
  std::string expected = "C:";
  const std::string name(50, 'n');
  for (int i = 0; i < 8; ++i) {
    item = Add(item, name.c_str());
    expected += "\\" + name;
  }
  const CDynString line = ExplorerCommandLine(FolderPathOf(tree, item));
  EXPECT_EQ(std::string(line.GetText()), "explorer.exe \"" + expected + "\"");
}

// A drive shown as 'C:\Users', '/home' or a folder's bare name, on either platform.
class ShownDrives : public DisplayText {
 public:
  explicit ShownDrives(char separator) : m_separator(separator) {}
  CDynString ForName(const char* name, bool isDrive) const override {
    if (!isDrive) return CDynString(name, AllocHeap);
    return CDynString(name[0] == 'C' ? "C:\\Users" : name[0] == 'D' ? "/home" : "Pictures", AllocHeap);
  }
  char PathSeparator() const override { return m_separator; }

 private:
  char m_separator;
};

TEST_F(FolderPathTest, DisplayPathsJoinNamesAsTheDriveIsShownElseAsThePlatformDoes) {
  const char* drives[] = {"C:", "D:", "E:"};
  std::vector<std::string> onLinux;
  std::vector<std::string> onWindows;
  for (const char* drive : drives) {
    const FolderRecord* below = folders.Add("a b", folders.Add(drive));
    onLinux.push_back(DisplayPathOf(*below, "f.txt", ShownDrives('/')));
    onWindows.push_back(DisplayPathOf(*below, "f.txt", ShownDrives('\\')));
  }
  EXPECT_EQ(onLinux,
            (std::vector<std::string>{"C:\\Users\\a b\\f.txt", "/home/a b/f.txt", "Pictures/a b/f.txt"}));
  EXPECT_EQ(onWindows,
            (std::vector<std::string>{"C:\\Users\\a b\\f.txt", "/home/a b/f.txt", "Pictures\\a b\\f.txt"}));
  EXPECT_EQ(DisplayPathOf(*folders.Add("C:"), "f.txt", ShownDrives('/')), "C:\\Users\\f.txt");
}

}  // namespace
