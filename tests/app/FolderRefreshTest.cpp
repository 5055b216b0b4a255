// A folder scanned again after its subtree changed leaves the tree a whole new scan of
// the changed machine would: the same folders in the same places, the same totals and
// the same largest files, on random machines changed in random ways.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ScanController.h"
#include "scan/DisplayPath.h"
#include "scan/FolderPath.h"
#include "scan/TreeWalk.h"
#include "tests/app/MemoryFrontEnd.h"
#include "tests/support/RandomMachine.h"
#include "tests/support/TreeDump.h"

namespace {

constexpr int kMachines = 60;
constexpr int kChangesPerMachine = 5;

// The folder's path and every folder below it that lists, as the machine names them.
std::vector<std::string> FoldersFrom(const MemoryFileSystem& machine, const std::string& top) {
  std::vector<std::string> folders{top};
  for (std::size_t next = 0; next < folders.size(); ++next) {
    const std::vector<MemoryFileSystem::Entry>* entries = machine.ListingOf(folders[next]);
    if (entries == nullptr) continue;
    for (const MemoryFileSystem::Entry& entry : *entries) {
      if (entry.isFolder && machine.ListingOf(folders[next] + "\\" + entry.name) != nullptr)
        folders.push_back(folders[next] + "\\" + entry.name);
    }
  }
  return folders;
}

// Files grown and added, folders added, removed and renamed, all below top.
void ChangeBelow(MemoryFileSystem& machine, const std::string& top, StormRandom& random) {
  for (int change = 0; change < kChangesPerMachine; ++change) {
    const std::string folder = random.Pick(FoldersFrom(machine, top));
    const std::string serial = std::to_string(change);
    const std::uint64_t size = random.Below(3u << 20);
    const std::vector<MemoryFileSystem::Entry>* entries = machine.ListingOf(folder);
    switch (random.Below(4)) {
      case 0:
        machine.AddFile(folder + "\\added " + serial + ".bin", size);
        break;
      case 1:
        machine.AddFile(folder + "\\new " + serial + "\\inner\\file.dat", size);
        break;
      case 2:
        if (!entries->empty()) machine.RemoveEntry(folder, random.Pick(*entries).name);
        break;
      default:
        for (const MemoryFileSystem::Entry& entry : *entries) {
          if (!entry.isFolder) continue;
          machine.RemoveEntry(folder, entry.name);
          machine.AddFile(folder + "\\renamed " + serial + "\\file.dat", size);
          break;
        }
    }
  }
}

// The machine's path of an item: 'C:', 'C:\a\b'.
std::string MachinePathOf(const TreeView& tree, TreeItem item) {
  std::string path = TextOrEmpty(FolderPathOf(tree, item).ToString());
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Every kept file as 'path size', in one order whatever order they were offered in.
std::vector<std::string> KeptFiles(const ScanController& controller) {
  std::vector<std::string> files;
  const PlainDisplayText names;
  for (const LargeFile* file : controller.FinishedLargestFiles()->Sorted())
    files.push_back(DisplayPathOf(*file->folder, file->name.c_str(), names) + " " +
                    std::to_string(file->size));
  std::sort(files.begin(), files.end());
  return files;
}

struct ScannedMachine {
  explicit ScannedMachine(std::shared_ptr<MemoryFileSystem> machine) : frontEnd(std::move(machine)) {
    controller.StartScan();
  }
  ~ScannedMachine() { controller.StopForClosing(); }
  bool RunToIdle() {
    return frontEnd.PumpUntil(controller, [this] { return !controller.IsScanHeld(); });
  }

  MemoryFrontEnd frontEnd;
  ScanController controller{frontEnd, std::make_shared<PlainDisplayText>(),
                            std::make_shared<FixedNumberLocale>(3, ","), 0};
};

TEST(FolderRefreshTest, RefreshingAChangedFolderLeavesWhatAWholeScanOfTheChangedMachineLeaves) {
  for (int seed = 1; seed <= kMachines; ++seed) {
    SCOPED_TRACE("machine " + std::to_string(seed));
    StormRandom random(static_cast<std::uint64_t>(seed));
    const std::shared_ptr<MemoryFileSystem> machine = MakeRandomMachine(random);
    ScannedMachine refreshed(machine);
    ASSERT_TRUE(refreshed.RunToIdle());
    MemoryTree& tree = refreshed.frontEnd.tree;
    if (tree.GetRootItem() == kNoItem) continue;

    std::vector<TreeItem> items;
    WalkPreOrder(tree, [&items](TreeItem item) { items.push_back(item); });
    const TreeItem folder = random.Pick(items);
    const std::string path = MachinePathOf(tree, folder);
    SCOPED_TRACE("folder " + path);
    if (machine->ListingOf(path) == nullptr) continue;  // unreadable: nothing to change below it
    ChangeBelow(*machine, path, random);

    tree.SelectItem(folder);
    refreshed.controller.RefreshFolder(folder);
    ASSERT_TRUE(refreshed.RunToIdle());
    ScannedMachine whole(machine);
    ASSERT_TRUE(whole.RunToIdle());

    EXPECT_EQ(DumpLabels(tree), DumpLabels(whole.frontEnd.tree));
    EXPECT_EQ(MisplacedRecords(tree), "");
    EXPECT_EQ(KeptFiles(refreshed.controller), KeptFiles(whole.controller));
    EXPECT_EQ(tree.GetSelectedItem(), folder);
  }
}

}  // namespace
