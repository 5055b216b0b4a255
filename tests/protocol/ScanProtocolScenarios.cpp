// The scan protocol as every front end shows it: a scan that starts at once and ends
// with totals, Abort, Refresh, relabelling, a machine without drives, the hand-over
// timer, and closing mid-scan.

#include "tests/protocol/ScanProtocol.h"
#include "tests/support/Eventually.h"

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;

// Held while listing C:\Data: found so far are C:, Windows (whose System32 waits its
// turn) and Data, unlabelled until the scan ends.
constexpr const char* kFoundBeforeData =
    "C:\n"
    "  Windows\n"
    "  Data\n";

}  // namespace

void AddProtocolMachine(MemoryFileSystem& machine) {
  machine.AddDrive('C');
  machine.AddFile("C:\\Windows\\System32\\big.dll", 3 * kMB);
  machine.AddFile("C:\\Windows\\win.ini", kMB);
  machine.AddFile("C:\\Data\\My Photos\\a.jpg", 2 * kMB);
  machine.AddFile("C:\\pagefile.sys", 5 * kMB);
  machine.AddDrive('D');
  machine.AddFile("D:\\Games\\game.dat", 1024 * kMB);
  machine.AddDrive('E', false);
  machine.AddFile("E:\\Setup\\setup.exe", kMB);
}

ScanProtocolTest::ScanProtocolTest() : machine(std::make_shared<MemoryFileSystem>()) {
  AddProtocolMachine(*machine);
}

ScanProtocolTest::~ScanProtocolTest() {
  // A test that failed while the worker was held must not leave it held.
  machine->GetGate().Release();
  driver.reset();
}

void ScanProtocolTest::Open() {
  driver = GetParam().open(machine);
  ASSERT_NE(driver, nullptr);
}

void ScanProtocolTest::OpenAndScan() {
  Open();
  ASSERT_TRUE(WaitForScanEnd());
}

bool ScanProtocolTest::WaitForScanEnd() {
  return driver->PumpUntil([this] { return !driver->IsScanHeld(); });
}

void ScanProtocolTest::RefreshHeldAt(const std::string& point) {
  machine->GetGate().Arm(point);
  driver->ClickRefresh();
  machine->GetGate().WaitUntilHeld();
}

void ScanProtocolTest::AbortWhileHeld() {
  ReleaseGateOnAbort release(*driver, machine->GetGate());
  driver->ClickRefresh();
}

std::string ScanProtocolTest::CloseWhileHeld() {
  ReleaseGateOnAbort release(*driver, machine->GetGate());
  return driver->Close();
}

TEST_P(ScanProtocolTest, AScanShowsScanningThenEndsWithTotalsAndLabels) {
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  Open();
  machine->GetGate().WaitUntilHeld();
  EXPECT_TRUE(driver->IsScanRunning());
  EXPECT_EQ(driver->ButtonText(), "&Abort");
  EXPECT_FALSE(driver->ListsEnabled());
  EXPECT_TRUE(driver->ShowsBusyCursor());
  EXPECT_EQ(driver->Unit(), 2);

  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_FALSE(driver->IsScanRunning());
  EXPECT_EQ(driver->ButtonText(), "&Refresh");
  EXPECT_TRUE(driver->ListsEnabled());
  EXPECT_FALSE(driver->ShowsBusyCursor());
  EXPECT_EQ(driver->Labels(), kProtocolMachineLabels);
}

TEST_P(ScanProtocolTest, AbortKeepsWhatWasFoundWithTotalsOfWhatWasCounted) {
  // Held while the worker reads C:\Windows, before win.ini.
  machine->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\Windows", "win.ini"));
  Open();
  machine->GetGate().WaitUntilHeld();
  AbortWhileHeld();
  // Abort returns once the worker has ended; its completion comes next.
  EXPECT_FALSE(driver->IsScanRunning());
  EXPECT_TRUE(driver->IsScanHeld());
  EXPECT_EQ(driver->ButtonText(), "&Refresh");
  EXPECT_TRUE(driver->ListsEnabled());

  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_FALSE(driver->IsAbortRequested());  // the next scan starts unaborted
  EXPECT_FALSE(driver->ShowsBusyCursor());
  // win.ini was being read when the abort came and still counts; Data, System32 and
  // D: were never reached.
  EXPECT_EQ(driver->Labels(),
            "C:    (6 MB)\n"
            "  Windows    (1 MB)\n");
}

TEST_P(ScanProtocolTest, RefreshEmptiesTheTreeKeepsTheUnitAndScansAgain) {
  OpenAndScan();
  driver->PickUnit(1);
  machine->AddFile("C:\\Data\\b.jpg", 4 * kMB);
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:"));

  driver->ClickRefresh();
  machine->GetGate().WaitUntilHeld();
  EXPECT_EQ(driver->ItemCount(), 0u);
  EXPECT_TRUE(driver->IsScanRunning());
  EXPECT_EQ(driver->ButtonText(), "&Abort");
  EXPECT_FALSE(driver->ListsEnabled());
  EXPECT_EQ(driver->Unit(), 1);

  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->Labels(),
            "C:    (15,360 KB)\n"
            "  Windows    (4,096 KB)\n"
            "    System32    (3,072 KB)\n"
            "  Data    (6,144 KB)\n"
            "    My Photos    (2,048 KB)\n"
            "D:    (1,048,576 KB)\n"
            "  Games    (1,048,576 KB)\n");
}

TEST_P(ScanProtocolTest, AnotherUnitRelabelsEveryItemWithoutScanningAgain) {
  OpenAndScan();
  const int opened = machine->OpenCount();

  driver->PickUnit(3);
  EXPECT_EQ(driver->Labels(),
            "C:    (0 GB)\n"
            "  Windows    (0 GB)\n"
            "    System32    (0 GB)\n"
            "  Data    (0 GB)\n"
            "    My Photos    (0 GB)\n"
            "D:    (1 GB)\n"
            "  Games    (1 GB)\n");
  driver->PickUnit(0);
  EXPECT_EQ(driver->Labels(),
            "C:    (11,534,336 bytes)\n"
            "  Windows    (4,194,304 bytes)\n"
            "    System32    (3,145,728 bytes)\n"
            "  Data    (2,097,152 bytes)\n"
            "    My Photos    (2,097,152 bytes)\n"
            "D:    (1,073,741,824 bytes)\n"
            "  Games    (1,073,741,824 bytes)\n");
  driver->PickUnit(2);
  EXPECT_EQ(driver->Labels(), kProtocolMachineLabels);
  EXPECT_EQ(machine->OpenCount(), opened);
  EXPECT_FALSE(driver->IsScanHeld());
  EXPECT_EQ(driver->ButtonText(), "&Refresh");
  EXPECT_TRUE(driver->ListsEnabled());
}

// While the worker lists one slow folder no insertion comes: the timer's hand-over
// alone brings what it found so far.
TEST_P(ScanProtocolTest, TheHandOverTimerDeliversWhatTheWorkerBufferedWhileItWaits) {
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  Open();
  machine->GetGate().WaitUntilHeld();

  driver->HandOverTimer();
  EXPECT_TRUE(driver->PumpUntil([this] { return driver->Labels() == kFoundBeforeData; })) << driver->Labels();
  EXPECT_TRUE(driver->IsScanRunning());

  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->Labels(), kProtocolMachineLabels);
}

TEST_P(ScanProtocolTest, AMachineWithoutFixedDrivesEndsWithAnEmptyTree) {
  machine = std::make_shared<MemoryFileSystem>();
  machine->AddDrive('E', false);
  machine->AddFile("E:\\Setup\\setup.exe", kMB);
  OpenAndScan();

  EXPECT_EQ(driver->ItemCount(), 0u);
  EXPECT_EQ(driver->ButtonText(), "&Refresh");
  EXPECT_TRUE(driver->ListsEnabled());
  EXPECT_FALSE(driver->ShowsBusyCursor());
}

TEST_P(ScanProtocolTest, ClosingDuringAScanStopsTheWorkerFirstThenFreesEverything) {
  machine->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\Windows", "win.ini"));
  Open();
  machine->GetGate().WaitUntilHeld();
  EXPECT_EQ(CloseWhileHeld(), "");
  EXPECT_FALSE(driver->IsScanRunning());
}

TEST_P(ScanProtocolCloseWaitTest, AWorkerThatOutlastsTheCloseWaitIsLeftToEndAndFreeItsRecords) {
  const long usersWithoutFrontEnd = machine.use_count();
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  Open();
  machine->GetGate().WaitUntilHeld();
  driver->HandOverTimer();
  ASSERT_TRUE(driver->PumpUntil([this] { return driver->Labels() == kFoundBeforeData; }));

  driver->SetCloseWait(std::chrono::milliseconds(1));
  EXPECT_EQ(driver->Close(), "");
  driver.reset();
  // The front end is gone; the worker still holds the machine, and frees the records
  // it was given, until it ends. Waiting for that keeps the test's process from ending
  // under a running thread, which Wine may answer by killing the process.
  machine->GetGate().Release();
  Eventually([&] { return machine.use_count() <= usersWithoutFrontEnd; }, std::chrono::seconds(30));
  EXPECT_EQ(machine.use_count(), usersWithoutFrontEnd);
}

namespace {

// The machine with a folder on each drive listed after smaller ones.
void AddLargeLastFolders(MemoryFileSystem& machine) {
  machine.AddFile("C:\\Apps\\tool.exe", 8 * kMB);
  machine.AddFile("D:\\Music\\song.flac", 2048 * kMB);
}

constexpr const char* kListedLabels =
    "C:    (19 MB)\n"
    "  Windows    (4 MB)\n"
    "    System32    (3 MB)\n"
    "  Data    (2 MB)\n"
    "    My Photos    (2 MB)\n"
    "  Apps    (8 MB)\n"
    "D:    (3,072 MB)\n"
    "  Games    (1,024 MB)\n"
    "  Music    (2,048 MB)\n";

// The drives keep their order, however large.
constexpr const char* kLargestFirstLabels =
    "C:    (19 MB)\n"
    "  Apps    (8 MB)\n"
    "  Windows    (4 MB)\n"
    "    System32    (3 MB)\n"
    "  Data    (2 MB)\n"
    "    My Photos    (2 MB)\n"
    "D:    (3,072 MB)\n"
    "  Music    (2,048 MB)\n"
    "  Games    (1,024 MB)\n";

}  // namespace

TEST_P(ScanProtocolMenuTest, SortBySizeOrdersEveryFolderByTotalAndUncheckingRestoresTheListedOrder) {
  AddLargeLastFolders(*machine);
  OpenAndScan();
  EXPECT_EQ(driver->SortBySizeState(), "");
  EXPECT_EQ(driver->ShownLabels(), kListedLabels);
  driver->Select("Data");

  driver->SortBySize(true);
  EXPECT_EQ(driver->SortBySizeState(), "checked");
  EXPECT_EQ(driver->ShownLabels(), kLargestFirstLabels);
  EXPECT_EQ(driver->SelectedLabel(), "Data    (2 MB)");
  // Equal labels keep the order of their totals in bytes.
  driver->PickUnit(3);
  EXPECT_EQ(driver->ShownLabels(),
            "C:    (0 GB)\n"
            "  Apps    (0 GB)\n"
            "  Windows    (0 GB)\n"
            "    System32    (0 GB)\n"
            "  Data    (0 GB)\n"
            "    My Photos    (0 GB)\n"
            "D:    (3 GB)\n"
            "  Music    (2 GB)\n"
            "  Games    (1 GB)\n");
  driver->PickUnit(2);

  driver->SortBySize(false);
  EXPECT_EQ(driver->SortBySizeState(), "");
  EXPECT_EQ(driver->ShownLabels(), kListedLabels);
  EXPECT_EQ(driver->SelectedLabel(), "Data    (2 MB)");
}

// The tree keeps the listed order while the worker adds up, and is sorted once the
// totals exist, also after an Abort.
TEST_P(ScanProtocolMenuTest, WhileCheckedEachScanEndsSortedAndTheItemIsGreyedMeanwhile) {
  AddLargeLastFolders(*machine);
  OpenAndScan();
  driver->SortBySize(true);

  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Data"));
  EXPECT_EQ(driver->SortBySizeState(), "greyed checked");
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->ShownLabels(), kLargestFirstLabels);

  // Held opening System32, whose first file still counts: My Photos and D: are never
  // reached.
  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Windows\\System32"));
  AbortWhileHeld();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->ShownLabels(),
            "C:    (17 MB)\n"
            "  Apps    (8 MB)\n"
            "  Windows    (4 MB)\n"
            "    System32    (3 MB)\n"
            "  Data    (0 MB)\n");
}

TEST_P(ScanProtocolMenuTest, TheLargestFilesShowEveryFileLargestFirstAndOneOpensSelectedInTheFileBrowser) {
  OpenAndScan();
  driver->OpenLargestFiles();
  const std::vector<std::string> inMegabytes = {
      "D:\\Games\\game.dat    (1,024 MB)", "C:\\pagefile.sys    (5 MB)",
      "C:\\Windows\\System32\\big.dll    (3 MB)", "C:\\Data\\My Photos\\a.jpg    (2 MB)",
      "C:\\Windows\\win.ini    (1 MB)"};
  EXPECT_EQ(driver->LargestFileRows(), inMegabytes);
  EXPECT_EQ(driver->ShowLargestFile(2), "C:\\Windows\\System32\\big.dll");

  driver->PickUnit(1);
  const std::vector<std::string> rows = driver->LargestFileRows();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], "D:\\Games\\game.dat    (1,048,576 KB)");
  driver->PickUnit(2);

  // Emptied while a scan runs, filled again when it ends.
  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Data"));
  EXPECT_TRUE(driver->LargestFileRows().empty());
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->LargestFileRows(), inMegabytes);
}
