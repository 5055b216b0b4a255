// The tree compared with a saved scan, as every dialog shows it: each folder's change
// in its label, kept through Refresh, the order by change, and a baseline that matches
// nothing or is dropped changing nothing.

#include <fstream>

#include "tests/protocol/ScanProtocol.h"

namespace {

// C: as it was: System32 held 2 MB, and a folder Old of 3 MB has gone since.
constexpr const char* kEarlierScanOfC =
    "[1,2,{\"progname\":\"ncdu\",\"progver\":\"2.3\",\"timestamp\":0},\n"
    "[{\"name\":\"C:\"},{\"name\":\"pagefile.sys\",\"asize\":5242880},\n"
    "[{\"name\":\"Windows\"},[{\"name\":\"System32\"},{\"name\":\"big.dll\",\"asize\":2097152}],\n"
    "{\"name\":\"win.ini\",\"asize\":1048576}],\n"
    "[{\"name\":\"Old\"},{\"name\":\"old.bin\",\"asize\":3145728}]]]\n";

// Each test its own file, in the folder it runs in: the tests of one target may run at once.
std::string WriteSavedScan(const char* text) {
  const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
  std::string file = std::string("baseline-") + test.name() + ".json";
  for (char& c : file) {
    if (c == '/') c = '-';
  }
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

constexpr const char* kComparedLabels =
    "C:    (11 MB, \xC2\xB1"
    "0 MB)\n"
    "  Windows    (4 MB, +1 MB)\n"
    "    System32    (3 MB, +1 MB)\n"
    "  Data    (2 MB, new)\n"
    "    My Photos    (2 MB, new)\n"
    "D:    (1,024 MB)\n"
    "  Games    (1,024 MB)\n";

}  // namespace

TEST_P(ScanProtocolMenuTest, ComparingShowsEachFolderChangeThroughRefreshesUntilDropped) {
  OpenAndScan();
  EXPECT_EQ(driver->CompareState(), "");
  EXPECT_EQ(driver->SortByChangeState(), "no item");
  driver->CompareWith(WriteSavedScan(kEarlierScanOfC));
  EXPECT_EQ(driver->CompareState(), "checked");
  EXPECT_EQ(driver->Labels(), kComparedLabels);

  // The largest growth first: Data is new, 2 MB of it.
  EXPECT_EQ(driver->SortByChangeState(), "");
  driver->SortByChange(true);
  EXPECT_EQ(driver->SortByChangeState(), "checked");
  EXPECT_EQ(driver->SortBySizeState(), "");
  EXPECT_EQ(driver->ShownLabels(),
            "C:    (11 MB, \xC2\xB1"
            "0 MB)\n"
            "  Data    (2 MB, new)\n"
            "    My Photos    (2 MB, new)\n"
            "  Windows    (4 MB, +1 MB)\n"
            "    System32    (3 MB, +1 MB)\n"
            "D:    (1,024 MB)\n"
            "  Games    (1,024 MB)\n");

  // Clean up, Refresh, and see what moved.
  machine->AddFile("C:\\Windows\\Fonts\\big.ttf", 3 * 1024 * 1024);
  RefreshHeldAt(MemoryFileSystem::OpenPoint("C:\\Data"));
  EXPECT_EQ(driver->CompareState(), "greyed checked");
  machine->GetGate().Release();
  ASSERT_TRUE(WaitForScanEnd());
  EXPECT_EQ(driver->ShownLabels(),
            "C:    (14 MB, +3 MB)\n"
            "  Windows    (7 MB, +4 MB)\n"
            "    Fonts    (3 MB, new)\n"
            "    System32    (3 MB, +1 MB)\n"
            "  Data    (2 MB, new)\n"
            "    My Photos    (2 MB, new)\n"
            "D:    (1,024 MB)\n"
            "  Games    (1,024 MB)\n");

  // Choosing the item again drops the baseline without a file box.
  const int boxes = driver->FileBoxesShown();
  driver->CompareWith("");
  EXPECT_EQ(driver->FileBoxesShown(), boxes);
  EXPECT_EQ(driver->CompareState(), "");
  EXPECT_EQ(driver->SortByChangeState(), "no item");
  EXPECT_EQ(driver->ShownLabels(),
            "C:    (14 MB)\n"
            "  Windows    (7 MB)\n"
            "    System32    (3 MB)\n"
            "    Fonts    (3 MB)\n"
            "  Data    (2 MB)\n"
            "    My Photos    (2 MB)\n"
            "D:    (1,024 MB)\n"
            "  Games    (1,024 MB)\n");
}

TEST_P(ScanProtocolMenuTest, ABaselineThatMatchesNothingOrDoesNotReadChangesNothing) {
  OpenAndScan();
  ::testing::internal::CaptureStderr();
  driver->CompareWith(WriteSavedScan("[1,2,{},[{\"name\":\"/srv\"},{\"name\":\"a\",\"asize\":1}]]"));
  driver->CompareWith(WriteSavedScan("[1,2,{},[{\"name\":\"C:\"}"));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("the saved scan of /srv matches no drive or folder here"), std::string::npos) << said;
  EXPECT_NE(said.find(".json:1:"), std::string::npos) << said;
  EXPECT_EQ(driver->CompareState(), "");
  EXPECT_EQ(driver->Labels(), kProtocolMachineLabels);
  EXPECT_EQ(driver->FileBoxesShown(), 2);
}
