// How far a scan has come, as every front end shows it outside its window: the share
// of the drives' used space while it runs, never the whole before the end, busy where
// there is no share, and nothing once it has ended, been aborted or closed. The
// front end's own hand-over timer may read the figures at any moment besides the
// test's ticks, so the scenarios check what holds whenever it reads.

#include "tests/protocol/ScanProtocol.h"

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;

// The machine's drives use 600 MB between them: the 6 MB seen before C:\Data are 1%.
void UseSixHundredMegabytes(MemoryFileSystem& machine) {
  machine.SetUsedBytes('C', 100 * kMB);
  machine.SetUsedBytes('D', 500 * kMB);
}

// What must hold of any run of calls: no call repeats the one before (nothing is
// sent when nothing changed), the whole shows only as the last share before the end,
// and the run ends cleared.
std::string FaultIn(const std::vector<std::string>& calls) {
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (i > 0 && calls[i] == calls[i - 1]) return "sent twice: " + calls[i];
    const bool beforeTheEnd = i + 1 < calls.size() && calls[i + 1] != "clear";
    if (calls[i] == "share 1000" && beforeTheEnd) return "the whole shown before the end";
  }
  if (calls.empty() || calls.back() != "clear") return "not cleared at the end";
  return {};
}

std::string Joined(const std::vector<std::string>& calls) {
  std::string joined;
  for (const std::string& call : calls) joined += call + "; ";
  return joined;
}

}  // namespace

TEST_P(ScanProtocolProgressTest, AScanShowsItsShareOfTheUsedSpaceUntilItEndsThenNothing) {
  UseSixHundredMegabytes(*machine);
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  Open();
  machine->GetGate().WaitUntilHeld();
  driver->HandOverTimer();
  EXPECT_EQ(driver->ProgressShown().back(), "share 10") << Joined(driver->ProgressShown());

  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(FaultIn(driver->ProgressShown()), "") << Joined(driver->ProgressShown());
}

TEST_P(ScanProtocolProgressTest, AbortClearsTheProgressAtOnce) {
  UseSixHundredMegabytes(*machine);
  machine->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\Windows", "win.ini"));
  Open();
  machine->GetGate().WaitUntilHeld();
  driver->HandOverTimer();
  EXPECT_EQ(driver->ProgressShown().back(), "share 8") << Joined(driver->ProgressShown());
  AbortWhileHeld();
  // Cleared before the completion arrives: what Abort left is no share of the whole.
  EXPECT_EQ(driver->ProgressShown().back(), "clear");
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(FaultIn(driver->ProgressShown()), "") << Joined(driver->ProgressShown());
}

TEST_P(ScanProtocolProgressTest, ClosingDuringAScanClearsTheProgress) {
  UseSixHundredMegabytes(*machine);
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  Open();
  machine->GetGate().WaitUntilHeld();
  driver->HandOverTimer();
  EXPECT_EQ(CloseWhileHeld(), "");
  EXPECT_EQ(FaultIn(driver->ProgressShown()), "") << Joined(driver->ProgressShown());
}

// A folder alone is no share of a drive's used space.
TEST_P(ScanProtocolProgressTest, AFolderRefreshShowsBusyWithoutAShare) {
  UseSixHundredMegabytes(*machine);
  OpenAndScan();
  driver->Select("Windows");
  machine->AddFile("C:\\Windows\\Fonts\\arial.ttf", 2 * kMB);
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Windows\\Fonts"));
  const std::size_t before = driver->ProgressShown().size();

  driver->RefreshSelectedFolder();
  machine->GetGate().WaitUntilHeld();
  driver->HandOverTimer();
  const std::vector<std::string> calls = driver->ProgressShown();
  EXPECT_EQ(std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end()),
            std::vector<std::string>{"indeterminate"});

  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->ProgressShown().back(), "clear");
}

// Drives whose used space is unknown give no share either.
TEST_P(ScanProtocolProgressTest, AScanOfDrivesWithoutAKnownUseShowsBusy) {
  machine->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\Data"));
  Open();
  machine->GetGate().WaitUntilHeld();
  driver->HandOverTimer();
  EXPECT_EQ(driver->ProgressShown(), std::vector<std::string>{"indeterminate"});
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->ProgressShown(), (std::vector<std::string>{"indeterminate", "clear"}));
}
