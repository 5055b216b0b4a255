#include <gtest/gtest.h>

#include "scan/FolderRecord.h"
#include "scan/FreeItems.h"
#include "scan/MemoryTree.h"
#include "scan/SizeLabels.h"
#include "tests/support/TreeDump.h"

namespace {

class SizeLabelsTest : public ::testing::Test {
 protected:
  InsertedItem Add(InsertedItem parent, const char* name, std::uint64_t size) {
    FolderRecord* record = folders.Add(name);
    record->ownFiles = size;
    return tree.Insert(parent, name, record);
  }
  void Label(int unit) { UpdateAllLabels(LabelContext{tree, unit, comma, plain}); }

  FolderStore folders;
  MemoryTree tree;
  FixedNumberLocale comma{3, ","};
  PlainDisplayText plain;
};

TEST_F(SizeLabelsTest, TotalsAddEverySubtreeOnceHoweverOftenTheyAreComputed) {
  const InsertedItem c = Add(kTopLevel, "C:", 1);
  const InsertedItem a = Add(c, "a", 10);
  Add(a, "a1", 100);
  Add(a, "a2", 1000);
  Add(c, "b", 10000);
  const InsertedItem d = Add(kTopLevel, "D:", 5);
  Add(d, "x", 7);

  const std::string totals =
      "C: 11111\n"
      "  a 1110\n"
      "    a1 100\n"
      "    a2 1000\n"
      "  b 10000\n"
      "D: 12\n"
      "  x 7\n";
  AccumulateFolderSizes(tree);
  EXPECT_EQ(DumpTotals(tree), totals);
  AccumulateFolderSizes(tree);
  EXPECT_EQ(DumpTotals(tree), totals);
  EXPECT_EQ(DumpRecords(tree), "C: 1\n  a 10\n    a1 100\n    a2 1000\n  b 10000\nD: 5\n  x 7\n");
}

TEST_F(SizeLabelsTest, TotalsPastTwoToTheSixtyFourStopAtTheLargestSize) {
  const std::uint64_t half = 1ull << 63;
  const InsertedItem c = Add(kTopLevel, "C:", 1);
  const InsertedItem big = Add(c, "big", half);
  Add(big, "bigger", half);
  Add(c, "small", 2);
  AccumulateFolderSizes(tree);
  AccumulateFolderSizes(tree);  // a capped total stays capped
  EXPECT_EQ(DumpTotals(tree),
            "C: 18446744073709551615\n"
            "  big 18446744073709551615\n"
            "    bigger 9223372036854775808\n"
            "  small 2\n");
}

TEST_F(SizeLabelsTest, EmptyTreeMakesBothPassesDoNothing) {
  AccumulateFolderSizes(tree);
  Label(kDefaultUnit);
  EXPECT_EQ(tree.GetCount(), 0u);
}

TEST_F(SizeLabelsTest, LabelsRoundDownToWholeUnitsWithGroupedDigits) {
  struct Case {
    std::uint64_t size;
    int unit;
    const char* label;
  };
  const Case cases[] = {
      {1023, 1, "f    (0 KB)"},
      {1024, 1, "f    (1 KB)"},
      {1048575, 1, "f    (1,023 KB)"},
      {1048575, 2, "f    (0 MB)"},
      {12345678901ull, 2, "f    (11,773 MB)"},
      {12345678901ull, 3, "f    (11 GB)"},
      {12345678901ull, 0, "f    (12,345,678,901 bytes)"},
      {4294967296ull, 3, "f    (4 GB)"},
      {4294967296ull, 2, "f    (4,096 MB)"},
      {0, 0, "f    (0 bytes)"},
      {0, 2, "f    (0 MB)"},
      {~0ull - 1, 0, "f    (18,446,744,073,709,551,614 bytes)"},
      // The largest size stands for "this or more": totals stop there.
      {~0ull, 0, "f    (18,446,744,073,709,551,615+ bytes)"},
      {~0ull, 3, "f    (17,179,869,183+ GB)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatSizeLabel("f", c.size, c.unit, comma).GetText(), std::string(c.label))
        << c.size << " in unit " << c.unit;
  }
}

TEST_F(SizeLabelsTest, AChangeFollowsTheTotalRoundedTowardZeroWithItsSign) {
  struct Case {
    std::uint64_t size;
    SizeChange change;
    int unit;
    const char* label;
  };
  const std::uint64_t mb = 1048576;
  const Case cases[] = {
      {9216 * mb, {ChangeKind::Grown, 1024 * mb}, 2, "Windows    (9,216 MB, +1,024 MB)"},
      {9216 * mb, {ChangeKind::Shrunk, 1024 * mb + mb - 1}, 2, "Windows    (9,216 MB, -1,024 MB)"},
      {9216 * mb, {ChangeKind::Grown, 1}, 2, "Windows    (9,216 MB, +0 MB)"},
      {9216 * mb, {ChangeKind::Shrunk, mb - 1}, 2, "Windows    (9,216 MB, -0 MB)"},
      {9216 * mb,
       {ChangeKind::Same, 0},
       2,
       "Windows    (9,216 MB, \xC2\xB1"
       "0 MB)"},
      {1234567, {ChangeKind::Shrunk, 1234567}, 0, "Windows    (1,234,567 bytes, -1,234,567 bytes)"},
      {5ull << 30, {ChangeKind::Grown, 5ull << 30}, 3, "Windows    (5 GB, +5 GB)"},
      {2048, {ChangeKind::New, 2048}, 1, "Windows    (2 KB, new)"},
      {~0ull, {ChangeKind::Unknown, 0}, 1, "Windows    (18,014,398,509,481,983+ KB, ?)"},
      {~0ull - 1,
       {ChangeKind::Grown, ~0ull - 1},
       0,
       "Windows    (18,446,744,073,709,551,614 bytes, +18,446,744,073,709,551,614 bytes)"},
      {2048, {ChangeKind::None, 0}, 1, "Windows    (2 KB)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatChangeLabel("Windows", c.size, c.change, c.unit, comma).GetText(), std::string(c.label));
  }
}

TEST_F(SizeLabelsTest, LabelsShowTheChangesGivenAndOnlyTheirs) {
  const InsertedItem c = Add(kTopLevel, "C:", 0);
  const InsertedItem grown = Add(c, "grown", 3072);
  Add(c, "outside", 1024);
  AccumulateFolderSizes(tree);
  FolderChanges changes;
  changes.SetMatched(*tree.GetItemData(c), 4096);
  changes.SetNew(*tree.GetItemData(grown));
  UpdateAllLabels(LabelContext{tree, 1, comma, plain, &changes});
  EXPECT_EQ(DumpLabels(tree),
            "C:    (4 KB, \xC2\xB1"
            "0 KB)\n  grown    (3 KB, new)\n  outside    (1 KB)\n");
  Label(1);
  EXPECT_EQ(DumpLabels(tree), "C:    (4 KB)\n  grown    (3 KB)\n  outside    (1 KB)\n");
}

TEST_F(SizeLabelsTest, SwitchingUnitsRelabelsEveryItemAndBackAgain) {
  const InsertedItem c = Add(kTopLevel, "C:", 12345678901ull - 3 * 1048576);
  Add(c, "Windows", 3 * 1048576);
  AccumulateFolderSizes(tree);

  Label(2);
  const std::string megabytes = DumpLabels(tree);
  EXPECT_EQ(megabytes, "C:    (11,773 MB)\n  Windows    (3 MB)\n");
  Label(3);
  EXPECT_EQ(DumpLabels(tree), "C:    (11 GB)\n  Windows    (0 GB)\n");
  Label(0);
  EXPECT_EQ(DumpLabels(tree), "C:    (12,345,678,901 bytes)\n  Windows    (3,145,728 bytes)\n");
  Label(2);
  EXPECT_EQ(DumpLabels(tree), megabytes);
}

TEST_F(SizeLabelsTest, LabelsUseTheDisplayTextOfDrivesAndNames) {
  class MountPoints : public DisplayText {
   public:
    CDynString ForName(const char* name, bool isDrive) const override {
      return CDynString(isDrive ? "/home" : name, AllocHeap);
    }
  } mounts;
  const InsertedItem c = Add(kTopLevel, "C:", 0);
  Add(c, "user", 2048);
  AccumulateFolderSizes(tree);
  UpdateAllLabels(LabelContext{tree, 1, comma, mounts});
  EXPECT_EQ(DumpLabels(tree), "/home    (2 KB)\n  user    (2 KB)\n");
}

TEST_F(SizeLabelsTest, LocaleIsReadOncePerPass) {
  class CountingLocale : public FixedNumberLocale {
   public:
    CountingLocale() : FixedNumberLocale(3, ".") {}
    void BeginPass() override { ++passes; }
    int passes = 0;
  } locale;
  const InsertedItem c = Add(kTopLevel, "C:", 1234567);
  Add(c, "a", 0);
  AccumulateFolderSizes(tree);
  UpdateAllLabels(LabelContext{tree, 0, locale, plain});
  EXPECT_EQ(locale.passes, 1);
  EXPECT_EQ(DumpLabels(tree), "C:    (1.234.567 bytes)\n  a    (0 bytes)\n");
}

TEST(FreeAllItemsTest, EmptiesTheTreeAndTheRecordsGoWithTheLastShareOfTheScan) {
  SharedScanSession session = std::make_shared<ScanSession>();
  FolderStore& folders = session->Folders();
  MemoryTree tree;
  const InsertedItem c = tree.Insert(kTopLevel, "C:", folders.Add("C:"));
  const InsertedItem a = tree.Insert(c, "a", folders.Add("a"));
  tree.Insert(a, "deep", folders.Add("deep"));
  tree.Insert(kTopLevel, "D:", folders.Add("D:"));
  // A worker that outlives the dialog keeps its share, and with it every record.
  SharedScanSession workerShare = session;
  const std::weak_ptr<ScanSession> watch = session;
  FreeAllItems(tree, session);
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_EQ(tree.GetRootItem(), kNoItem);
  EXPECT_EQ(session, nullptr);
  ASSERT_FALSE(watch.expired());
  EXPECT_STREQ(workerShare->Folders().Add("late")->name, "late");
  workerShare.reset();
  EXPECT_TRUE(watch.expired());
  FreeAllItems(tree, session);  // nothing left to free
}

}  // namespace
