// One folder scanned again, as every front end shows it: with a scan's controls, Abort
// and closing, its subtree replaced and its ancestors' totals corrected, the other
// folders as they were.

#include "tests/protocol/ScanProtocol.h"

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;

// The machine changed after the first scan, inside C:\Windows and outside it.
void ChangeWindowsAndMore(MemoryFileSystem& machine) {
  machine.AddFile("C:\\Windows\\Fonts\\arial.ttf", 2 * kMB);
  machine.AddFile("C:\\Windows\\System32\\more.dll", kMB);
  machine.AddFile("C:\\Data\\new.txt", 7 * kMB);
  machine.AddFile("D:\\Games\\more.dat", kMB);
}

// Only C:\Windows was scanned again: Data and D: keep what the first scan found.
constexpr const char* kWindowsRefreshed =
    "C:    (14 MB)\n"
    "  Windows    (7 MB)\n"
    "    System32    (4 MB)\n"
    "    Fonts    (2 MB)\n"
    "  Data    (2 MB)\n"
    "    My Photos    (2 MB)\n"
    "D:    (1,024 MB)\n"
    "  Games    (1,024 MB)\n";

}  // namespace

TEST_P(ScanProtocolFolderRefreshTest, ItScansTheSelectedFolderAloneAndCorrectsItsAncestors) {
  OpenAndScan();
  driver->Select("Windows");
  ChangeWindowsAndMore(*machine);
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Windows\\Fonts"));

  driver->RefreshSelectedFolder();
  machine->GetGate().WaitUntilHeld();
  EXPECT_TRUE(driver->IsScanRunning());
  EXPECT_EQ(driver->ButtonText(), "&Abort");
  EXPECT_FALSE(driver->ListsEnabled());
  EXPECT_TRUE(driver->ShowsBusyCursor());
  // The folder's new subfolders show their names; everything else keeps its label.
  driver->HandOverTimer();
  EXPECT_TRUE(driver->PumpUntil([this] {
    return driver->Labels() ==
           "C:    (11 MB)\n"
           "  Windows    (4 MB)\n"
           "    System32\n"
           "    Fonts\n"
           "  Data    (2 MB)\n"
           "    My Photos    (2 MB)\n"
           "D:    (1,024 MB)\n"
           "  Games    (1,024 MB)\n";
  })) << driver->Labels();

  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->ButtonText(), "&Refresh");
  EXPECT_TRUE(driver->ListsEnabled());
  EXPECT_FALSE(driver->ShowsBusyCursor());
  EXPECT_EQ(driver->Labels(), kWindowsRefreshed);
  EXPECT_EQ(driver->SelectedLabel(), "Windows    (7 MB)");

  // Again, in another unit: the same folders, no item twice.
  driver->PickUnit(1);
  driver->RefreshSelectedFolder();
  ASSERT_TRUE(WaitForScanEnd());
  driver->PickUnit(2);
  EXPECT_EQ(driver->Labels(), kWindowsRefreshed);

  // A whole Refresh sees the rest of the change.
  driver->ClickRefresh();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->Labels(),
            "C:    (21 MB)\n"
            "  Windows    (7 MB)\n"
            "    System32    (4 MB)\n"
            "    Fonts    (2 MB)\n"
            "  Data    (9 MB)\n"
            "    My Photos    (2 MB)\n"
            "D:    (1,025 MB)\n"
            "  Games    (1,025 MB)\n");
}

TEST_P(ScanProtocolFolderRefreshTest, AbortKeepsWhatTheFolderRefreshFound) {
  OpenAndScan();
  driver->Select("Windows");
  // Held before win.ini, with System32 queued and never reached.
  machine->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\Windows", "win.ini"));
  driver->RefreshSelectedFolder();
  machine->GetGate().WaitUntilHeld();
  AbortWhileHeld();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_FALSE(driver->IsAbortRequested());
  EXPECT_EQ(driver->Labels(),
            "C:    (8 MB)\n"
            "  Windows    (1 MB)\n"
            "  Data    (2 MB)\n"
            "    My Photos    (2 MB)\n"
            "D:    (1,024 MB)\n"
            "  Games    (1,024 MB)\n");
}

TEST_P(ScanProtocolFolderRefreshTest, ClosingDuringAFolderRefreshStopsTheWorkerFirst) {
  OpenAndScan();
  driver->Select("Data");
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data\\My Photos"));
  driver->RefreshSelectedFolder();
  machine->GetGate().WaitUntilHeld();
  EXPECT_EQ(CloseWhileHeld(), "");
  EXPECT_FALSE(driver->IsScanRunning());
}

TEST_P(ScanProtocolFolderRefreshTest, ADriveIsScannedAgainAsAFolder) {
  OpenAndScan();
  driver->Select("D:");
  machine->AddFile("D:\\Games\\more.dat", kMB);
  machine->AddFile("C:\\Data\\new.txt", 7 * kMB);
  driver->RefreshSelectedFolder();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->Labels(),
            "C:    (11 MB)\n"
            "  Windows    (4 MB)\n"
            "    System32    (3 MB)\n"
            "  Data    (2 MB)\n"
            "    My Photos    (2 MB)\n"
            "D:    (1,025 MB)\n"
            "  Games    (1,025 MB)\n");
}

// The item asks for a finished tree and a selected folder.
TEST_P(ScanProtocolMenuTest, RefreshSelectedFolderIsGreyedWithoutASelectionAndWhileAScanRuns) {
  OpenAndScan();
  EXPECT_EQ(driver->RefreshFolderState(), "greyed");
  driver->Select("Data");
  EXPECT_EQ(driver->RefreshFolderState(), "");

  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data\\My Photos"));
  driver->RefreshSelectedFolder();
  machine->GetGate().WaitUntilHeld();
  EXPECT_EQ(driver->RefreshFolderState(), "greyed");
  EXPECT_EQ(driver->SortBySizeState(), "greyed");
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->RefreshFolderState(), "");
}

// While sorted by size, a folder whose total changed moves to its place; the largest
// files below the folder are the new scan's.
TEST_P(ScanProtocolMenuTest, AFolderRefreshMovesChangedAncestorsAndReplacesTheFolderLargestFiles) {
  OpenAndScan();
  driver->SortBySize(true);
  driver->OpenLargestFiles();
  driver->Select("My Photos");
  machine->AddFile("C:\\Data\\My Photos\\b.jpg", 6 * kMB);
  machine->AddFile("C:\\Windows\\huge.bin", 100 * kMB);  // outside: not seen
  driver->RefreshSelectedFolder();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->ShownLabels(),
            "C:    (17 MB)\n"
            "  Data    (8 MB)\n"
            "    My Photos    (8 MB)\n"
            "  Windows    (4 MB)\n"
            "    System32    (3 MB)\n"
            "D:    (1,024 MB)\n"
            "  Games    (1,024 MB)\n");
  EXPECT_EQ(driver->SelectedLabel(), "My Photos    (8 MB)");
  const std::vector<std::string> files = {
      "D:\\Games\\game.dat    (1,024 MB)",    "C:\\Data\\My Photos\\b.jpg    (6 MB)",
      "C:\\pagefile.sys    (5 MB)",           "C:\\Windows\\System32\\big.dll    (3 MB)",
      "C:\\Data\\My Photos\\a.jpg    (2 MB)", "C:\\Windows\\win.ini    (1 MB)"};
  EXPECT_EQ(driver->LargestFileRows(), files);
}
