// The scan protocol as both dialogs follow it, against a front end that keeps its
// tree in memory.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/ScanController.h"
#include "tests/app/MemoryFrontEnd.h"
#include "tests/support/TreeDump.h"

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;

class ScanControllerTest : public ::testing::Test {
 protected:
  ScanControllerTest() {
    fileSystem->AddDrive('C');
    fileSystem->AddFile("C:\\Windows\\System32\\big.dll", 3 * kMB);
    fileSystem->AddFile("C:\\Windows\\win.ini", kMB);
    fileSystem->AddFile("C:\\Data\\a.jpg", 2 * kMB);
  }
  ~ScanControllerTest() override {
    fileSystem->GetGate().Release();  // a failed test must not leave the worker held
    controller.StopForClosing();
  }

  // The abort's wait returns only once the worker has ended: this releases the held
  // worker as soon as the controller asks it to stop.
  std::thread ReleaseOnAbort() {
    return std::thread([this] {
      while (!controller.IsAbortRequested()) std::this_thread::yield();
      fileSystem->GetGate().Release();
    });
  }

  bool RunToIdle() {
    return frontEnd.PumpUntil(controller, [this] { return !controller.IsScanHeld(); });
  }

  std::shared_ptr<MemoryFileSystem> fileSystem = std::make_shared<MemoryFileSystem>();
  MemoryFrontEnd frontEnd{fileSystem};
  ScanController controller{frontEnd, std::make_shared<PlainDisplayText>(),
                            std::make_shared<DigitsAsTheyAre>(), 2};
};

constexpr const char* kMegabyteLabels =
    "C:    (6 MB)\n"
    "  Windows    (4 MB)\n"
    "    System32    (3 MB)\n"
    "  Data    (2 MB)\n";

TEST_F(ScanControllerTest, AScanShowsScanningThenEndsWithTotalsAndLabels) {
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();
  EXPECT_TRUE(controller.IsScanRunning());
  EXPECT_TRUE(frontEnd.showsScanning);
  EXPECT_TRUE(frontEnd.busyCursor);

  fileSystem->GetGate().Release();
  ASSERT_TRUE(RunToIdle());
  EXPECT_FALSE(frontEnd.showsScanning);
  EXPECT_FALSE(frontEnd.busyCursor);
  EXPECT_FALSE(frontEnd.redrawHeld);
  EXPECT_EQ(frontEnd.completions, 1);
  EXPECT_EQ(DumpLabels(frontEnd.tree), kMegabyteLabels);
}

TEST_F(ScanControllerTest, AbortKeepsWhatWasFoundWithTotalsOfWhatWasCounted) {
  fileSystem->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\Windows", "win.ini"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();

  std::thread releaser = ReleaseOnAbort();
  controller.OnRefresh();
  releaser.join();
  EXPECT_FALSE(controller.IsScanRunning());
  EXPECT_TRUE(controller.IsScanHeld());  // until its completion is handled
  EXPECT_FALSE(frontEnd.showsScanning);
  EXPECT_TRUE(frontEnd.mirroredAbort);

  ASSERT_TRUE(RunToIdle());
  EXPECT_FALSE(controller.IsAbortRequested());  // the next scan starts unaborted
  EXPECT_FALSE(frontEnd.mirroredAbort);
  EXPECT_EQ(frontEnd.starts, 1);
  // Windows was read up to win.ini, which was counted; Data and System32 were never
  // reached, so they have no items.
  EXPECT_EQ(DumpLabels(frontEnd.tree),
            "C:    (1 MB)\n"
            "  Windows    (1 MB)\n");
}

TEST_F(ScanControllerTest, RefreshFreesTheTreeAndScansAgainInTheUnitSet) {
  controller.StartScan();
  ASSERT_TRUE(RunToIdle());
  fileSystem->AddFile("C:\\Data\\b.jpg", 4 * kMB);

  controller.SetUnit(0);
  controller.OnRefresh();
  EXPECT_EQ(frontEnd.starts, 2);
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(DumpLabels(frontEnd.tree),
            "C:    (10485760 bytes)\n"
            "  Windows    (4194304 bytes)\n"
            "    System32    (3145728 bytes)\n"
            "  Data    (6291456 bytes)\n");
}

TEST_F(ScanControllerTest, AUnitChangeRelabelsAtOnceButNeverUnderARunningWorker) {
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();
  controller.OnHandOverTimer();
  frontEnd.Pump(controller);
  ASSERT_EQ(frontEnd.tree.GetCount(), 3u);
  const std::string whileRunning = DumpLabels(frontEnd.tree);
  controller.OnSelchangeUnits(3);
  EXPECT_EQ(DumpLabels(frontEnd.tree), whileRunning);  // the records are still the worker's

  fileSystem->GetGate().Release();
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(DumpLabels(frontEnd.tree).substr(0, 15), "C:    (0 GB)\n  ");
  controller.OnSelchangeUnits(1);
  EXPECT_EQ(DumpLabels(frontEnd.tree).substr(0, 16), "C:    (6144 KB)\n");
  EXPECT_EQ(frontEnd.starts, 1);
}

TEST_F(ScanControllerTest, AStrayCompletionWithoutAScanChangesNothing) {
  controller.StartScan();
  ASSERT_TRUE(RunToIdle());
  const std::string labels = DumpLabels(frontEnd.tree);
  controller.OnScanComplete();  // totals added a second time would double them
  EXPECT_EQ(DumpLabels(frontEnd.tree), labels);
  EXPECT_EQ(frontEnd.completions, 1);
}

TEST_F(ScanControllerTest, AWorkerThatCannotStartLeavesTheControlsFree) {
  frontEnd.failToStart = true;
  controller.StartScan();
  EXPECT_FALSE(controller.IsScanHeld());
  EXPECT_FALSE(frontEnd.showsScanning);
  EXPECT_FALSE(frontEnd.busyCursor);
}

TEST_F(ScanControllerTest, WithoutAnAbortRequestTheButtonWaitsForNothing) {
  frontEnd.canAbort = false;
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();
  controller.OnRefresh();  // returns at once: nothing can tell the worker to stop
  EXPECT_TRUE(controller.IsScanRunning());
  EXPECT_FALSE(controller.IsAbortRequested());
  fileSystem->GetGate().Release();
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(DumpLabels(frontEnd.tree), kMegabyteLabels);
}

TEST_F(ScanControllerTest, ClosingStopsTheWorkerFirstThenFreesEverything) {
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();
  std::thread releaser = ReleaseOnAbort();
  controller.StopForClosing();
  releaser.join();
  EXPECT_FALSE(controller.IsScanHeld());
  EXPECT_EQ(frontEnd.tree.GetCount(), 0u);  // every record freed (the sanitizers check)
}

TEST_F(ScanControllerTest, AWorkerThatOutlastsTheCloseWaitFreesItsRecordsWhenItEnds) {
  const long usersWithoutWorker = fileSystem.use_count();
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();
  controller.OnHandOverTimer();
  frontEnd.Pump(controller);
  ASSERT_EQ(frontEnd.tree.GetCount(), 3u);
  controller.StopForClosing(std::chrono::milliseconds(1));
  EXPECT_FALSE(controller.IsScanHeld());
  EXPECT_EQ(frontEnd.tree.GetCount(), 0u);
  fileSystem->GetGate().Release();  // the worker ends and frees the records it was given
  // It lets go of the file system last. Waiting for that keeps the test's process from
  // ending under a running thread, which Wine may answer by killing the process.
  Eventually([&] { return fileSystem.use_count() <= usersWithoutWorker; }, std::chrono::seconds(30));
  EXPECT_EQ(fileSystem.use_count(), usersWithoutWorker);
}

TEST_F(ScanControllerTest, TheHandOverTimerDeliversWhatTheWorkerBufferedWhileItWaits) {
  // Listing Data holds the worker: no insertion follows, so only the timer hands over.
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();
  frontEnd.Pump(controller);
  EXPECT_EQ(frontEnd.tree.GetCount(), 0u);  // a batch of 1,000 is far from full

  controller.OnHandOverTimer();
  frontEnd.Pump(controller);
  EXPECT_EQ(frontEnd.tree.GetCount(), 3u);  // C:, Windows, and Data, whose listing waits
  fileSystem->GetGate().Release();
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(DumpLabels(frontEnd.tree), kMegabyteLabels);
}

}  // namespace
