// The scan controller with a front end that keeps its tree in memory: what only the
// controller's own interface shows. The protocol every front end shares is the shared
// scenarios' (ScanProtocolControllerTest.cpp).

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

TEST_F(ScanControllerTest, AnAbortIsMirroredToThePlatformUntilItsCompletionIsHandled) {
  fileSystem->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\Windows", "win.ini"));
  controller.StartScan();
  fileSystem->GetGate().WaitUntilHeld();

  std::thread releaser = ReleaseOnAbort();
  controller.OnRefresh();
  releaser.join();
  EXPECT_TRUE(frontEnd.mirroredAbort);

  ASSERT_TRUE(RunToIdle());
  EXPECT_FALSE(frontEnd.mirroredAbort);
  EXPECT_EQ(frontEnd.starts, 1);
  EXPECT_EQ(frontEnd.completions, 1);
}

TEST_F(ScanControllerTest, AUnitSetWithoutRelabellingIsTheUnitOfTheNextScan) {
  controller.StartScan();
  ASSERT_TRUE(RunToIdle());

  controller.SetUnit(0);
  EXPECT_EQ(DumpLabels(frontEnd.tree), kMegabyteLabels);  // nothing relabelled yet
  controller.OnRefresh();
  EXPECT_EQ(frontEnd.starts, 2);
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(DumpLabels(frontEnd.tree),
            "C:    (6291456 bytes)\n"
            "  Windows    (4194304 bytes)\n"
            "    System32    (3145728 bytes)\n"
            "  Data    (2097152 bytes)\n");
}

TEST_F(ScanControllerTest, AUnitChangeNeverRelabelsUnderARunningWorker) {
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
  EXPECT_FALSE(frontEnd.redrawHeld);
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

TEST_F(ScanControllerTest, WithoutTheTimerABatchFarFromFullStaysWithTheWorker) {
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
}

}  // namespace
