// The map window as every dialog shows it: the selected folder's blocks, clicks that
// select and zoom, keys, and what a scan, a folder refresh and closing do to it.

#include "tests/protocol/ScanProtocol.h"

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;
using MapKey = ScanProtocolDriver::MapKey;
using Labels = std::vector<std::string>;

}  // namespace

TEST_P(ScanProtocolMapTest,
       TheMapShowsTheSelectedFolderInOneWindowAndIsGreyedWithoutASelectionOrWhileAScanRuns) {
  OpenAndScan();
  EXPECT_EQ(driver->ShowMapState(), "greyed");
  driver->Select("Windows");
  EXPECT_EQ(driver->ShowMapState(), "");
  driver->ShowMap();
  EXPECT_EQ(driver->MapTitle(), "C:\\Windows");
  EXPECT_EQ(driver->MapLabels(),
            (Labels{"Windows    (4 MB)", "System32    (3 MB)", "(files in this folder)    (1 MB)"}));
  driver->PickUnit(1);
  EXPECT_EQ(driver->MapLabels(), (Labels{"Windows    (4,096 KB)", "System32    (3,072 KB)",
                                         "(files in this folder)    (1,024 KB)"}));
  driver->PickUnit(2);

  // A drive maps the drive, in the same window.
  driver->Select("D:");
  driver->ShowMap();
  EXPECT_EQ(driver->MapTitle(), "D:");
  EXPECT_EQ(driver->MapLabels(), (Labels{"D:    (1,024 MB)", "Games    (1,024 MB)"}));

  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Data"));
  EXPECT_EQ(driver->ShowMapState(), "greyed");
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
}

TEST_P(ScanProtocolMapTest, HoveringShowsThePathAClickSelectsDoubleClickAndBackspaceZoomAndEscapeCloses) {
  OpenAndScan();
  driver->Select("C:");
  driver->ShowMap();
  EXPECT_EQ(driver->HoverMap("System32"), "C:\\Windows\\System32    (3 MB)");
  driver->ClickMap("My Photos");
  EXPECT_EQ(driver->SelectedLabel(), "My Photos    (2 MB)");
  EXPECT_EQ(driver->MapTitle(), "C:");

  driver->DoubleClickMap("Data");
  EXPECT_EQ(driver->MapTitle(), "C:\\Data");
  EXPECT_EQ(driver->MapLabels(), (Labels{"Data    (2 MB)", "My Photos    (2 MB)"}));
  driver->DoubleClickMap("My Photos");
  EXPECT_EQ(driver->MapTitle(), "C:\\Data\\My Photos");
  driver->PressMapKey(MapKey::Backspace);
  driver->PressMapKey(MapKey::Backspace);
  EXPECT_EQ(driver->MapTitle(), "C:");
  driver->PressMapKey(MapKey::Backspace);  // the drive is as far as it goes
  EXPECT_EQ(driver->MapTitle(), "C:");

  driver->PressMapKey(MapKey::Escape);
  EXPECT_EQ(driver->MapTitle(), "closed");
}

TEST_P(ScanProtocolMapTest, ARefreshEmptiesTheMapThenMapsTheSamePathAgainOrClosesWhenItIsGone) {
  OpenAndScan();
  driver->Select("Data");
  driver->ShowMap();
  machine->AddFile("C:\\Data\\My Photos\\b.jpg", 4 * kMB);

  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Data"));
  EXPECT_NE(driver->MapTitle(), "closed");
  EXPECT_TRUE(driver->MapLabels().empty());
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->MapTitle(), "C:\\Data");
  EXPECT_EQ(driver->MapLabels(), (Labels{"Data    (6 MB)", "My Photos    (6 MB)"}));

  machine->RemoveEntry("C:", "Data");
  driver->ClickRefresh();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->MapTitle(), "closed");
}

// The refresh of a folder above the mapped one replaces its item: the map finds it again.
TEST_P(ScanProtocolMapTest, AFolderRefreshAboveTheMappedFolderMapsItAgain) {
  OpenAndScan();
  driver->Select("My Photos");
  driver->ShowMap();
  machine->AddFile("C:\\Data\\My Photos\\b.jpg", kMB);
  driver->Select("Data");
  driver->RefreshSelectedFolder();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->MapTitle(), "C:\\Data\\My Photos");
  EXPECT_EQ(driver->MapLabels(), (Labels{"My Photos    (3 MB)", "(files in this folder)    (3 MB)"}));
}

TEST_P(ScanProtocolMapTest, AMapClosedMidScanStaysClosedWhenTheScanEnds) {
  OpenAndScan();
  driver->Select("Windows");
  driver->ShowMap();
  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Data"));
  driver->PressMapKey(MapKey::Escape);
  EXPECT_EQ(driver->MapTitle(), "closed");
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->MapTitle(), "closed");
}

TEST_P(ScanProtocolMapTest, TheDialogClosesWithTheMapOpenAndAScanRunning) {
  OpenAndScan();
  driver->Select("Windows");
  driver->ShowMap();
  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Data"));
  EXPECT_EQ(CloseWhileHeld(), "");
  EXPECT_EQ(driver->MapTitle(), "closed");
}

TEST_P(ScanProtocolMapTest, TheDialogClosesWithTheMapShowingAFolder) {
  OpenAndScan();
  driver->Select("Data");
  driver->ShowMap();
  EXPECT_EQ(driver->Close(), "");
  EXPECT_EQ(driver->MapTitle(), "closed");
}
