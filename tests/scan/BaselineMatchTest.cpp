#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scan/BaselineMatch.h"
#include "scan/FolderOrder.h"
#include "scan/SizeLabels.h"
#include "tests/support/BuiltTree.h"
#include "tests/support/TreeDump.h"

namespace {

// Drives show as the paths they were given for: 'C:' shows '/', 'D:' '/home'.
class PathDisplay : public DisplayText {
 public:
  explicit PathDisplay(std::vector<std::string> drives) : m_drives(std::move(drives)) {}
  CDynString ForName(const char* name, bool isDrive) const override {
    return CDynString(isDrive ? m_drives[name[0] - 'C'].c_str() : name, AllocHeap);
  }

 private:
  std::vector<std::string> m_drives;
};

struct MatchCase {
  const char* what;
  std::vector<std::string> drives;  // as shown, each with the folders a, a/b, a/B, c below it
  std::string baselineRoot;         // with the folders x, b below it, each of 1 byte
  PathMatching rule;
  std::size_t matched;
  std::string changes;  // each folder of the tree, and its change
};

void PrintTo(const MatchCase& c, std::ostream* out) { *out << c.what; }

class BaselineMatchTest : public ::testing::TestWithParam<MatchCase> {};

std::string Describe(const SizeChange& change) {
  static const char* const kKinds[] = {"-", "new", "?", "same", "grown", "shrunk"};
  return std::string(kKinds[static_cast<int>(change.kind)]) +
         (change.bytes != 0 ? " " + std::to_string(change.bytes) : "");
}

TEST_P(BaselineMatchTest, MatchesTheSubtreeAtTheBaselinesFolder) {
  const MatchCase& c = GetParam();
  BuiltTree built;
  for (std::size_t i = 0; i < c.drives.size(); ++i) {
    const std::string letter = std::string(1, static_cast<char>('C' + i)) + ":";
    const InsertedItem drive = built.Add(kTopLevel, letter.c_str(), 0);
    const InsertedItem a = built.Add(drive, "a", 0);
    built.Add(a, "b", 5);
    built.Add(a, "B", 7);
    built.Add(drive, "c", 0);
  }
  AccumulateFolderSizes(built.tree);
  Baseline baseline;
  const std::size_t root = baseline.AddFolder(Baseline::kNoParent, c.baselineRoot, 0);
  baseline.AddFolder(root, "x", 1);
  baseline.AddFolder(root, "b", 1);
  baseline.ComputeTotals();

  FolderChanges changes;
  EXPECT_EQ(MatchBaseline(built.tree, baseline, PathDisplay(c.drives), c.rule, changes), c.matched);
  EXPECT_EQ(DumpTree(built.tree,
                     [&](TreeItem item) {
                       const FolderRecord& record = *built.tree.GetItemData(item);
                       return std::string(record.name) + " " + Describe(changes.ChangeOf(record));
                     }),
            c.changes);
}

const char kPlain[] = "C: -\n  a -\n    b -\n    B -\n  c -\n";

INSTANTIATE_TEST_SUITE_P(
    Paths, BaselineMatchTest,
    ::testing::Values(
        MatchCase{"a saved scan of a folder matches that folder of a drive",
                  {"/"},
                  "/a",
                  kPosixPaths,
                  1,
                  "C: -\n  a grown 10\n    b grown 4\n    B new 7\n  c -\n"},
        MatchCase{"trailing and repeated separators change nothing",
                  {"/"},
                  "//a/",
                  kPosixPaths,
                  1,
                  "C: -\n  a grown 10\n    b grown 4\n    B new 7\n  c -\n"},
        MatchCase{"a saved scan of a drive matches the drive",
                  {"/srv"},
                  "/srv",
                  kPosixPaths,
                  1,
                  "C: grown 10\n  a new 12\n    b new 5\n    B new 7\n  c new\n"},
        MatchCase{"a drive inside the saved folder matches its folder there",
                  {"/srv/b", "/srv/nothing"},
                  "/srv",
                  kPosixPaths,
                  2,
                  "C: grown 11\n  a new 12\n    b new 5\n    B new 7\n  c new\n"
                  "D: new 12\n  a new 12\n    b new 5\n    B new 7\n  c new\n"},
        MatchCase{"the drive nearest to the saved folder holds it",
                  {"/", "/a"},
                  "/a",
                  kPosixPaths,
                  1,
                  std::string(kPlain) + "D: grown 10\n  a new 12\n    b new 5\n    B new 7\n  c new\n"},
        MatchCase{"the drive nearest to the saved folder holds it, whatever the drives' order",
                  {"/a", "/"},
                  "/a",
                  kPosixPaths,
                  1,
                  "C: grown 10\n  a new 12\n    b new 5\n    B new 7\n  c new\n" +
                      std::string(kPlain).replace(0, 1, "D")},
        MatchCase{"a nearest drive without the saved folder matches nothing, not a mount point's folder",
                  {"/a", "/"},
                  "/a/b",
                  kPosixPaths,
                  0,
                  std::string(kPlain).replace(0, 1, "C") + std::string(kPlain).replace(0, 1, "D")},
        MatchCase{"a name that only begins like the folder is another folder",
                  {"/"},
                  "/ab",
                  kPosixPaths,
                  0,
                  kPlain},
        MatchCase{"a folder the tree lacks matches nothing", {"/"}, "/a/zz", kPosixPaths, 0, kPlain},
        MatchCase{"a saved scan that names its folder with nothing matches nothing",
                  {"/"},
                  "",
                  kPosixPaths,
                  0,
                  kPlain},
        MatchCase{"Linux tells case apart", {"/"}, "/A", kPosixPaths, 0, kPlain},
        MatchCase{"Windows does not, in Latin, Greek and Cyrillic alike",
                  {"c:"},
                  "C:\\A",
                  kWindowsPaths,
                  1,
                  "C: -\n  a grown 10\n    b grown 4\n    B grown 6\n  c -\n"},
        MatchCase{"Windows folds \xC3\x89, \xCE\xA3 and \xD0\x96",
                  {"\xC3\xA9\xCF\x83\xD0\xB6"},
                  "\xC3\x89\xCE\xA3\xD0\x96",
                  kWindowsPaths,
                  1,
                  "C: grown 10\n  a new 12\n    b new 5\n    B new 7\n  c new\n"}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return "case" + std::to_string(info.index); });

TEST(BaselineMatchDepthTest, AHundredThousandLevelsMatchWithoutRecursion) {
  constexpr int kLevels = 100000;
  BuiltTree built;
  Baseline baseline;
  InsertedItem item = built.Add(kTopLevel, "C:", 0);
  std::size_t folder = baseline.AddFolder(Baseline::kNoParent, "C:", 0);
  for (int level = 1; level < kLevels; ++level) {
    item = built.Add(item, "d", level == kLevels - 1 ? 300 : 0);
    folder = baseline.AddFolder(folder, "d", level == kLevels - 1 ? 100 : 0);
  }
  baseline.AddFolder(folder, "gone", 50);  // counts in every folder above it
  AccumulateFolderSizes(built.tree);
  baseline.ComputeTotals();
  baseline.ComputeTotals();  // as often as asked

  FolderChanges changes;
  ASSERT_EQ(MatchBaseline(built.tree, baseline, PlainDisplayText(), kWindowsPaths, changes), 1u);
  EXPECT_EQ(changes.Count(), static_cast<std::size_t>(kLevels));
  const FolderRecord& deepest = *built.tree.GetItemData(item);
  EXPECT_EQ(Describe(changes.ChangeOf(deepest)), "grown 150");
  EXPECT_EQ(Describe(changes.ChangeOf(*built.tree.GetItemData(built.tree.GetRootItem()))), "grown 150");
}

TEST(FolderChangesTest, ACappedTotalOnEitherSideLeavesTheChangeUnknown) {
  FolderStore folders;
  FolderRecord& capped = *folders.Add("capped");
  FolderRecord& wasCapped = *folders.Add("was");
  FolderRecord& same = *folders.Add("same");
  capped.size = kLargestSize;
  wasCapped.size = 5;
  same.size = kLargestSize - 1;
  FolderChanges changes;
  changes.SetMatched(capped, 5);
  changes.SetMatched(wasCapped, kLargestSize);
  changes.SetMatched(same, kLargestSize - 1);
  EXPECT_EQ(changes.ChangeOf(capped).kind, ChangeKind::Unknown);
  EXPECT_EQ(changes.ChangeOf(wasCapped).kind, ChangeKind::Unknown);
  EXPECT_EQ(changes.ChangeOf(same).kind, ChangeKind::Same);
  std::uint64_t before = 0;
  EXPECT_TRUE(changes.BeforeOf(capped, before));
  EXPECT_EQ(before, 5u);
}

// Siblings by change: growth largest first, a new folder growing by its
// total, no change, losses smallest first, unknown, then folders the
// baseline does not cover; ties as listed.
TEST(FolderChangesTest, ByChangeOrdersGrowthFirstThenLossesThenTheUnknown) {
  FolderStore folders;
  FolderRecord* parent = folders.Add("p");
  FolderChanges changes;
  struct Sibling {
    const char* name;
    std::uint64_t before;  // kLargestSize - 1: new; 0 with size 0: outside
    std::uint64_t now;
  };
  const Sibling siblings[] = {
      {"outside", 0, 0},     {"lost5", 10, 5},
      {"grew3", 1, 4},       {"unknown", 1, kLargestSize},
      {"same", 7, 7},        {"new4", kLargestSize - 1, 4},
      {"lost1", 3, 2},       {"grew9", 1, 10},
      {"tie-grew3", 10, 13}, {"outside2", 0, 0},
  };
  std::vector<const FolderRecord*> records;
  for (const Sibling& sibling : siblings) {
    FolderRecord* record = folders.Add(sibling.name, parent, static_cast<std::uint32_t>(records.size()));
    record->size = sibling.now;
    if (sibling.before == kLargestSize - 1) {
      changes.SetNew(*record);
    } else if (sibling.now != 0) {
      changes.SetMatched(*record, sibling.before);
    }
    records.push_back(record);
  }
  std::stable_sort(records.begin(), records.end(), [&](const FolderRecord* a, const FolderRecord* b) {
    return ComesBefore(FolderOrder::ByChange, *a, *b, &changes);
  });
  std::string order;
  for (const FolderRecord* record : records) order += std::string(record->name) + " ";
  EXPECT_EQ(order, "grew9 new4 grew3 tie-grew3 same lost1 lost5 unknown outside outside2 ");
  EXPECT_FALSE(ComesBefore(FolderOrder::ByChange, *records[0], *records[1]))
      << "without changes the order is the listed one: grew9 after new4";
}

}  // namespace
