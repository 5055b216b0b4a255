#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/MapWindowState.h"
#include "scan/SizeLabels.h"
#include "tests/protocol/MapSpot.h"
#include "tests/support/BuiltTree.h"

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;
const MapRect kBounds{0, 0, 400, 300};
constexpr int kLineHeight = 12;

// C: with Windows (System32 below) and Data; D: with Games.
struct Machine {
  Machine() {
    c = built.Add(kTopLevel, "C:", 5 * kMB);
    windows = built.Add(c, "Windows", kMB);
    system32 = built.Add(windows, "System32", 3 * kMB);
    data = built.Add(c, "Data", 2 * kMB);
    d = built.Add(kTopLevel, "D:");
    games = built.Add(d, "Games", 1024 * kMB);
    AccumulateFolderSizes(built.tree);
  }
  BuiltTree built;
  TreeItem c, windows, system32, data, d, games;
};

class MapWindowStateTest : public ::testing::Test {
 protected:
  MapWindowStateTest() { state.Layout(kBounds, kLineHeight); }

  // Double-clicks the folder's block.
  bool ZoomInto(const char* name) {
    const MapSpot spot = FindMapSpot(state.Map(), name);
    return spot.found && state.ZoomIn(spot.x, spot.y);
  }

  SharedScanSession session = std::make_shared<ScanSession>();
  MapWindowState state{std::make_shared<PlainDisplayText>(), std::make_shared<FixedNumberLocale>(3, ","),
                       kDefaultUnit};
};

TEST_F(MapWindowStateTest, AFolderIsMappedWithItsPathAsTitleLabelsAndHoverTextInTheUnit) {
  Machine machine;
  state.Show(machine.built.tree, machine.windows, session);
  ASSERT_TRUE(state.IsMapping());
  EXPECT_EQ(state.Title(), "C:\\Windows");
  const auto& blocks = state.Map().Blocks();
  ASSERT_EQ(blocks.size(), 4u);  // Windows, System32, their own files
  EXPECT_EQ(state.BlockLabel(blocks[0]), "Windows    (4 MB)");
  EXPECT_EQ(state.BlockLabel(blocks[1]), "System32    (3 MB)");
  EXPECT_EQ(state.BlockLabel(blocks[2]), "(files in this folder)    (1 MB)");
  const MapSpot system32 = FindMapSpot(state.Map(), "System32");
  ASSERT_TRUE(system32.found);
  EXPECT_EQ(state.FolderAt(system32.x, system32.y), machine.system32);
  EXPECT_EQ(state.HoverText(system32.x, system32.y), "C:\\Windows\\System32    (3 MB)");
  const MapRect& ownFiles = blocks[2].pixels;
  EXPECT_EQ(state.HoverText(ownFiles.left + 1, ownFiles.top + 1),
            "C:\\Windows\\(files in this folder)    (1 MB)");
  EXPECT_EQ(state.HoverText(kBounds.right + 5, 0), "");

  state.SetUnit(1);
  EXPECT_EQ(state.HoverText(system32.x, system32.y), "C:\\Windows\\System32    (3,072 KB)");
}

TEST_F(MapWindowStateTest, ADriveIsMappedWholeAndEachTopLevelFolderHasItsOwnHue) {
  Machine machine;
  state.Show(machine.built.tree, machine.c, session);
  EXPECT_EQ(state.Title(), "C:");
  const auto& blocks = state.Map().Blocks();
  int hued = 0;
  for (const MapBlock& block : blocks) {
    if (block.depth == 1 && !block.IsOwnFiles()) {
      EXPECT_EQ(block.hue, hued++);
    }
    if (block.depth == 2) {
      EXPECT_EQ(block.hue, blocks[block.parent].hue);
    }
  }
  EXPECT_EQ(hued, 2);
}

TEST_F(MapWindowStateTest, ZoomingInMapsTheFolderClickedAndZoomingOutStopsAtTheDrive) {
  Machine machine;
  state.Show(machine.built.tree, machine.c, session);
  EXPECT_TRUE(ZoomInto("Windows"));
  EXPECT_EQ(state.Title(), "C:\\Windows");
  EXPECT_TRUE(ZoomInto("System32"));
  EXPECT_EQ(state.Folder(), machine.system32);
  EXPECT_FALSE(ZoomInto("System32")) << "the mapped folder itself changes nothing";

  EXPECT_TRUE(state.ZoomOut());
  EXPECT_TRUE(state.ZoomOut());
  EXPECT_EQ(state.Title(), "C:");
  EXPECT_FALSE(state.ZoomOut());
  EXPECT_EQ(state.Title(), "C:");
}

TEST_F(MapWindowStateTest, AScanDropsEverythingButThePathAndItsEndMapsThePathInTheNewTree) {
  {
    Machine before;
    state.Show(before.built.tree, before.system32, session);
  }
  // The old tree is gone; only the session's share was held, and it goes too.
  EXPECT_EQ(session.use_count(), 2);
  state.Drop();
  EXPECT_EQ(session.use_count(), 1);
  EXPECT_FALSE(state.IsMapping());
  EXPECT_TRUE(state.Map().Blocks().empty());
  EXPECT_EQ(state.Title(), "");
  EXPECT_EQ(state.Path(), (std::vector<std::string>{"C:", "Windows", "System32"}));

  Machine after;
  auto next = std::make_shared<ScanSession>();
  ASSERT_TRUE(state.Remap(after.built.tree, next));
  EXPECT_EQ(state.Folder(), after.system32);
  EXPECT_EQ(state.Title(), "C:\\Windows\\System32");
  EXPECT_EQ(next.use_count(), 2);
}

TEST_F(MapWindowStateTest, APathGoneFromTheNewTreeIsForgotten) {
  Machine before;
  state.Show(before.built.tree, before.data, session);
  state.Drop();
  BuiltTree after;  // C: without Data, and a Data on D: that is not the same folder
  const TreeItem c = after.Add(kTopLevel, "C:", kMB);
  after.Add(c, "Windows", kMB);
  const TreeItem d = after.Add(kTopLevel, "D:");
  after.Add(d, "Data", kMB);
  AccumulateFolderSizes(after.tree);
  EXPECT_FALSE(state.Remap(after.tree, session));
  EXPECT_FALSE(state.IsMapping());
  EXPECT_TRUE(state.Path().empty());
  EXPECT_EQ(session.use_count(), 1);
}

// 100,000 levels: finding the path again and zooming out walk no recursion, and the
// title and the hover text keep the ends of a path of 200,000 bytes.
TEST_F(MapWindowStateTest, AFolderAtTheBottomOfADeepChainIsFoundAgainAndItsPathIsShortened) {
  constexpr int kDepth = 100000;
  BuiltTree chain;
  TreeItem item = chain.Add(kTopLevel, "C:");
  for (int level = 1; level < kDepth; ++level) item = chain.Add(item, "d", level == kDepth - 1 ? kMB : 0);
  AccumulateFolderSizes(chain.tree);
  state.Show(chain.tree, item, session);
  state.Drop();
  ASSERT_TRUE(state.Remap(chain.tree, session));
  EXPECT_EQ(state.Folder(), item);
  EXPECT_EQ(state.Path().size(), static_cast<std::size_t>(kDepth));
  const std::string title = state.Title();
  EXPECT_LE(title.size(), 4096u + 3);
  EXPECT_EQ(title.substr(0, 5), "C:\\d\\");
  EXPECT_EQ(title.substr(title.size() - 4), "\\d\\d");
  EXPECT_LE(state.HoverText(1, 1).size(), 4096u + 3 + 16);
  EXPECT_TRUE(state.ZoomOut());
  EXPECT_EQ(state.Folder(), chain.tree.GetParentItem(item));
}

}  // namespace
