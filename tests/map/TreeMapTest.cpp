#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "map/TreeMap.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "scan/SizeLabels.h"
#include "tests/support/AdversarialTrees.h"
#include "tests/support/BuiltTree.h"
#include "tests/support/RandomMachine.h"

namespace {

// What every layout must be, checked from the tree itself.
class LayoutChecker {
 public:
  LayoutChecker(const TreeView& tree, const MapRequest& request, const TreeMap& map, std::string where)
      : m_tree(tree), m_request(request), m_map(map), m_blocks(map.Blocks()), m_where(std::move(where)) {}

  void CheckAll() {
    CheckOrderAndNesting();
    CheckSizesAndHeaders();
    CheckSiblingsDoNotOverlap();
    CheckSharesOfEveryFolder();
    CheckHues();
    CheckHitTesting();
  }

 private:
  MapRect ContentOf(std::size_t parent) const {
    return parent == kNoBlock ? m_request.bounds : m_blocks[parent].Content();
  }

  void CheckOrderAndNesting() {
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
      const MapBlock& block = m_blocks[i];
      const MapRect outer = ContentOf(block.parent);
      const MapRect& r = block.pixels;
      EXPECT_TRUE(r.left >= outer.left && r.top >= outer.top && r.right <= outer.right &&
                  r.bottom <= outer.bottom)
          << m_where << ": block " << i << " outside its parent's content";
      if (block.parent == kNoBlock) {
        EXPECT_LT(i, m_map.TopLevelCount()) << m_where;
        continue;
      }
      const MapBlock& parent = m_blocks[block.parent];
      ASSERT_LT(block.parent, i) << m_where << ": a block before its parent";
      EXPECT_TRUE(i >= parent.firstChild && i < parent.firstChild + parent.childCount) << m_where;
      EXPECT_EQ(block.depth, parent.depth + 1) << m_where;
      EXPECT_EQ(block.record, block.IsOwnFiles() ? parent.record : m_tree.GetItemData(block.item)) << m_where;
      if (!block.IsOwnFiles()) {
        EXPECT_EQ(m_tree.GetParentItem(block.item), parent.item) << m_where;
      }
    }
  }

  void CheckSizesAndHeaders() {
    const int line = m_request.lineHeight;
    for (const MapBlock& block : m_blocks) {
      EXPECT_GE(block.pixels.Width(), TreeMap::kSmallestSide) << m_where;
      EXPECT_GE(block.pixels.Height(), TreeMap::kSmallestSide) << m_where;
      EXPECT_TRUE(block.size > 0 || m_request.folder != kNoItem) << m_where << ": a block of nothing";
      const bool header = !block.IsOwnFiles() && line > 0 && block.pixels.Height() >= line + 2;
      ASSERT_EQ(block.HasHeader(), header) << m_where;
      if (header) {
        EXPECT_EQ(block.header, (MapRect{block.pixels.left, block.pixels.top, block.pixels.right,
                                         block.pixels.top + line + 2}))
            << m_where;
      }
    }
  }

  // Sorted by left edge, a block can only overlap those that start before it ends.
  void CheckSiblingsDoNotOverlap() {
    std::vector<std::vector<std::size_t>> groups(m_blocks.size() + 1);
    for (std::size_t i = 0; i < m_blocks.size(); ++i)
      groups[m_blocks[i].parent == kNoBlock ? m_blocks.size() : m_blocks[i].parent].push_back(i);
    for (std::vector<std::size_t>& group : groups) {
      std::sort(group.begin(), group.end(), [&](std::size_t a, std::size_t b) {
        return m_blocks[a].pixels.left < m_blocks[b].pixels.left;
      });
      for (std::size_t a = 0; a < group.size(); ++a) {
        const MapRect& first = m_blocks[group[a]].pixels;
        for (std::size_t b = a + 1; b < group.size() && m_blocks[group[b]].pixels.left < first.right; ++b) {
          const MapRect& second = m_blocks[group[b]].pixels;
          ASSERT_FALSE(second.top < first.bottom && first.top < second.bottom)
              << m_where << ": siblings " << group[a] << " and " << group[b] << " overlap";
        }
      }
    }
  }

  // The parts of a folder (the drives for kNoItem) and what they add up to.
  long double SumOfParts(TreeItem folder) const {
    long double sum = 0;
    for (TreeItem child = folder == kNoItem ? m_tree.GetRootItem() : m_tree.GetChildItem(folder);
         child != kNoItem; child = m_tree.GetNextSiblingItem(child)) {
      sum += m_tree.GetItemData(child)->size;
    }
    if (folder != kNoItem) sum += m_tree.GetItemData(folder)->ownFiles;
    return sum;
  }

  void CheckShare(const MapBlock& block, long double sum, double contentArea) {
    const double share = static_cast<double>(block.size / sum * contentArea);
    const ExactRect& exact = block.exact;
    EXPECT_NEAR(exact.Width() * exact.Height(), share, 1e-7 * contentArea + 1e-9) << m_where;
    const MapRect& r = block.pixels;
    // Each edge moves by half a pixel at most: a row and a column between them.
    EXPECT_LE(std::fabs(double(r.Width()) * r.Height() - share), r.Width() + r.Height() + 1.0)
        << m_where << ": " << r.Width() << "x" << r.Height() << " for a share of " << share;
  }

  void CheckSharesOfEveryFolder() {
    if (m_request.folder == kNoItem) {
      const double area = double(m_request.bounds.Width()) * m_request.bounds.Height();
      const long double sum = SumOfParts(kNoItem);
      for (std::size_t i = 0; i < m_map.TopLevelCount(); ++i) CheckShare(m_blocks[i], sum, area);
    }
    for (const MapBlock& parent : m_blocks) {
      if (parent.childCount == 0) continue;
      const double top = parent.HasHeader() ? parent.header.bottom : parent.exact.top;
      const double area = parent.exact.Width() * (parent.exact.bottom - top);
      const long double sum = SumOfParts(parent.item);
      std::uint64_t previous = kLargestSize;
      for (std::size_t i = parent.firstChild; i < parent.firstChild + parent.childCount; ++i) {
        CheckShare(m_blocks[i], sum, area);
        EXPECT_LE(m_blocks[i].size, previous) << m_where << ": not largest first";
        previous = m_blocks[i].size;
      }
    }
  }

  // A hue for each folder at the first level, shared by everything in it.
  void CheckHues() {
    std::set<int> hues;
    for (const MapBlock& block : m_blocks) {
      if (block.depth == 0 || (block.depth == 1 && block.IsOwnFiles())) {
        EXPECT_EQ(block.hue, kNoHue) << m_where;
      } else if (block.depth == 1) {
        EXPECT_TRUE(hues.insert(block.hue).second) << m_where << ": hue " << block.hue << " given twice";
      } else {
        EXPECT_EQ(block.hue, m_blocks[block.parent].hue) << m_where;
      }
    }
  }

  // The deepest block containing the point, found by looking at them all.
  TreeItem FolderDrawnAt(int x, int y) const {
    std::size_t found = kNoBlock;
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
      if (m_blocks[i].pixels.Contains(x, y) &&
          (found == kNoBlock || m_blocks[i].depth > m_blocks[found].depth))
        found = i;
    }
    if (found == kNoBlock) return kNoItem;
    return m_blocks[found].IsOwnFiles() ? m_blocks[m_blocks[found].parent].item : m_blocks[found].item;
  }

  void CheckHitTesting() {
    const MapRect& bounds = m_request.bounds;
    const int step = std::max(1, std::max(bounds.Width(), bounds.Height()) / 60);
    for (int y = bounds.top - 1; y <= bounds.bottom; y += step) {
      for (int x = bounds.left - 1; x <= bounds.right; x += step) {
        ASSERT_EQ(m_map.FolderAt(x, y), FolderDrawnAt(x, y)) << m_where << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(m_map.FolderAt(bounds.right, bounds.bottom - 1), kNoItem) << m_where;
  }

  const TreeView& m_tree;
  const MapRequest& m_request;
  const TreeMap& m_map;
  const std::vector<MapBlock>& m_blocks;
  std::string m_where;
};

// A tree to map, its totals computed.
struct MappedTree {
  FolderStore folders;
  MemoryTree tree;
};

std::unique_ptr<MappedTree> Scanned(MemoryFileSystem& fs) {
  auto mapped = std::make_unique<MappedTree>();
  ScanJob job{fs, mapped->folders, mapped->tree};
  ScanDrives(job);
  AccumulateFolderSizes(mapped->tree);
  return mapped;
}

// Sizes from nothing to the largest, on a few drives, deep and wide.
std::unique_ptr<BuiltTree> RandomBuiltTree(std::uint64_t seed) {
  std::mt19937_64 random(seed);
  auto built = std::make_unique<BuiltTree>();
  std::vector<InsertedItem> items;
  for (unsigned drive = 0, drives = 1 + random() % 3; drive < drives; ++drive)
    items.push_back(built->Add(kTopLevel, drive == 0 ? "C:" : "D:", random() % 1000));
  for (unsigned i = 0, count = 50 + random() % 3000; i < count; ++i) {
    // Mostly below one of the newest, so that some branches go deep.
    const std::size_t parent = random() % 3 == 0
                                   ? random() % items.size()
                                   : items.size() - 1 - random() % std::min<std::size_t>(items.size(), 8);
    std::uint64_t own = 0;
    switch (random() % 6) {
      case 0:
        break;
      case 1:
        own = kLargestSize >> (random() % 64);
        break;
      case 2:
        own = random() % 10;
        break;
      default:
        own = random() % (std::uint64_t{1} << (random() % 40));
        break;
    }
    items.push_back(built->Add(items[parent], ("f" + std::to_string(i)).c_str(), own));
  }
  AccumulateFolderSizes(built->tree);
  return built;
}

const MapRequest kRequests[] = {
    {kNoItem, MapRect{0, 0, 1600, 1000}, 14},
    {kNoItem, MapRect{10, 20, 310, 220}, 0},
    {kNoItem, MapRect{-5, 3, 92, 1016}, 20},
    {kNoItem, MapRect{0, 0, 3, 3}, 14},
};

// Every request, of the drives and of the largest folder below the first.
void CheckEveryRequest(const MemoryTree& tree, const std::string& name) {
  TreeMap map;
  for (const MapRequest& drives : kRequests) {
    std::vector<MapRequest> requests{drives};
    if (TreeItem first = tree.GetRootItem(); first != kNoItem) {
      MapRequest ofFolder = drives;
      ofFolder.folder = first;
      for (TreeItem child = tree.GetChildItem(first); child != kNoItem;
           child = tree.GetNextSiblingItem(child)) {
        if (tree.GetItemData(child)->size > tree.GetItemData(ofFolder.folder)->size / 4)
          ofFolder.folder = child;
      }
      requests.push_back(ofFolder);
    }
    for (const MapRequest& request : requests) {
      map.Layout(tree, request);
      const MapRect& b = request.bounds;
      LayoutChecker(tree, request, map,
                    name + " at " + std::to_string(b.Width()) + "x" + std::to_string(b.Height()) +
                        (request.folder == kNoItem ? "" : " of a folder"))
          .CheckAll();
    }
  }
}

TEST(TreeMapLayout, HoldsOnEveryAdversarialTree) {
  for (const AdversarialTree& adversarial : AdversarialTrees()) {
    MemoryFileSystem fs;
    adversarial.build(fs);
    CheckEveryRequest(Scanned(fs)->tree, adversarial.name);
  }
}

TEST(TreeMapLayout, HoldsOnRandomMachines) {
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    StormRandom random(seed);
    const std::shared_ptr<MemoryFileSystem> machine = MakeRandomMachine(random);
    CheckEveryRequest(Scanned(*machine)->tree, "machine " + std::to_string(seed));
  }
}

TEST(TreeMapLayout, HoldsOnRandomTreesWithSizesUpToTheLargest) {
  for (std::uint64_t seed = 1; seed <= 25; ++seed)
    CheckEveryRequest(RandomBuiltTree(seed)->tree, "tree " + std::to_string(seed));
}

class TreeMapTest : public ::testing::Test {
 protected:
  std::size_t BlockOf(TreeItem item) const {
    for (std::size_t i = 0; i < map.Blocks().size(); ++i) {
      if (map.Blocks()[i].item == item) return i;
    }
    return kNoBlock;
  }
  void Layout(TreeItem folder, MapRect bounds, int lineHeight = 14) {
    AccumulateFolderSizes(built.tree);
    request = MapRequest{folder, bounds, lineHeight};
    map.Layout(built.tree, request);
    LayoutChecker(built.tree, request, map, "layout").CheckAll();
  }

  BuiltTree built;
  MapRequest request;
  TreeMap map;
};

// Totals stopped at 2^64 - 1 still share out by what their parts hold.
TEST_F(TreeMapTest, CappedTotalsShareByTheirParts) {
  const InsertedItem c = built.Add(kTopLevel, "C:", std::uint64_t{1} << 62);
  const InsertedItem a = built.Add(c, "a", std::uint64_t{1} << 63);
  const InsertedItem b = built.Add(c, "b");
  built.Add(b, "b1", kLargestSize);
  built.Add(b, "b2", kLargestSize);
  Layout(kNoItem, MapRect{0, 0, 900, 614}, 0);
  ASSERT_EQ(built.folders.GetCount(), 5u);
  EXPECT_EQ(built.tree.GetItemData(c)->size, kLargestSize);
  const std::size_t aBlock = BlockOf(a), bBlock = BlockOf(b);
  ASSERT_NE(aBlock, kNoBlock);
  ASSERT_NE(bBlock, kNoBlock);
  // a holds 2^63 of the 2^63 + (2^64 - 1) + 2^62 the parts of C: add up to.
  const double parts = std::ldexp(1.0, 63) + std::ldexp(1.0, 64) + std::ldexp(1.0, 62);
  EXPECT_NEAR(map.Blocks()[aBlock].exact.Width() * map.Blocks()[aBlock].exact.Height(),
              900.0 * 614 * std::ldexp(1.0, 63) / parts, 1e-6);
  EXPECT_NE(BlockOf(built.tree.GetChildItem(b)), kNoBlock);
}

TEST_F(TreeMapTest, ZeroSizedFoldersTakeNoRoom) {
  const InsertedItem c = built.Add(kTopLevel, "C:");
  const InsertedItem empty = built.Add(c, "empty");
  built.Add(empty, "emptier");
  const InsertedItem d = built.Add(kTopLevel, "D:");
  Layout(kNoItem, MapRect{0, 0, 100, 100});
  EXPECT_TRUE(map.Blocks().empty());
  EXPECT_EQ(map.FolderAt(50, 50), kNoItem);

  Layout(c, MapRect{0, 0, 100, 100});  // a folder of nothing is still drawn, empty
  ASSERT_EQ(map.Blocks().size(), 1u);
  EXPECT_EQ(map.FolderAt(50, 50), c);

  const InsertedItem full = built.Add(d, "full", 10);
  Layout(kNoItem, MapRect{0, 0, 100, 100});
  ASSERT_EQ(map.Blocks().size(), 3u);  // D:, full, and full's own files
  EXPECT_EQ(map.Blocks()[0].item, d);
  EXPECT_EQ(map.Blocks()[1].item, full);
  EXPECT_EQ(map.FolderAt(50, 50), full);
  EXPECT_EQ(map.FolderAt(50, 5), d);  // its header
}

// Own files are a block of their own, found as their folder.
TEST_F(TreeMapTest, OwnFilesAreABlockOfTheirFolder) {
  const InsertedItem c = built.Add(kTopLevel, "C:", 300);
  built.Add(c, "a", 700);
  Layout(c, MapRect{0, 0, 116, 100}, 14);
  ASSERT_EQ(map.Blocks().size(), 4u);  // C:, a, C:'s own files, a's own files
  const MapBlock& own = map.Blocks()[2];
  EXPECT_TRUE(own.IsOwnFiles());
  EXPECT_EQ(own.size, 300u);
  EXPECT_EQ(map.FolderAt(own.pixels.left + 1, own.pixels.bottom - 1), c);
  EXPECT_EQ(own.colour, BlockColour(kNoHue, 1, true));
}

// No recursion over depth, and every level found where it is drawn.
TEST_F(TreeMapTest, AChainOfAHundredThousandLevelsLaysOut) {
  constexpr int kLevels = 100000;
  InsertedItem item = built.Add(kTopLevel, "C:");
  for (int level = 1; level < kLevels; ++level) item = built.Add(item, "d", level + 1 == kLevels ? 1 : 0);
  AccumulateFolderSizes(built.tree);
  map.Layout(built.tree, MapRequest{kNoItem, MapRect{0, 0, 1600, 1000}, 14});
  ASSERT_EQ(map.Blocks().size(), static_cast<std::size_t>(kLevels) + 1);  // and the last one's own files
  EXPECT_EQ(map.FolderAt(800, 999), item);
  EXPECT_EQ(map.FolderAt(800, 0), built.tree.GetRootItem());
  const MapBlock& last = map.Blocks()[map.Blocks().back().parent];
  EXPECT_EQ(last.item, item);
  EXPECT_EQ(last.depth, kLevels - 1);
  EXPECT_TRUE(last.covered);  // by its own files
  EXPECT_FALSE(map.Blocks().back().covered);
}

// A new layout (a resize) is the layout a new map would make.
TEST_F(TreeMapTest, LayingOutAgainForgetsTheLastLayout) {
  std::unique_ptr<BuiltTree> random = RandomBuiltTree(99);
  const MapRequest small{kNoItem, MapRect{0, 0, 300, 200}, 14};
  TreeMap fresh;
  fresh.Layout(random->tree, small);
  map.Layout(random->tree, MapRequest{kNoItem, MapRect{0, 0, 1600, 1000}, 14});
  map.Layout(random->tree, small);
  ASSERT_EQ(map.Blocks().size(), fresh.Blocks().size());
  for (std::size_t i = 0; i < fresh.Blocks().size(); ++i) {
    EXPECT_EQ(map.Blocks()[i].pixels, fresh.Blocks()[i].pixels);
    EXPECT_EQ(map.Blocks()[i].colour, fresh.Blocks()[i].colour);
  }
}

TEST(MapColours, NeighbouringHuesAndLevelsLookApart) {
  std::set<std::tuple<int, int, int>> seen;
  for (int hue = 0; hue < 16; ++hue) {
    for (int depth = 1; depth <= 4; ++depth) {
      const MapColour c = BlockColour(hue, depth, false);
      EXPECT_TRUE(seen.emplace(c.red, c.green, c.blue).second) << hue << " at " << depth;
    }
  }
  EXPECT_FALSE(BlockColour(3, 2, true) == BlockColour(3, 2, false));
}

}  // namespace
