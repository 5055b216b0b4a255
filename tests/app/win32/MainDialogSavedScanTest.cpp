// The system menu's saved scan items with the system's file boxes stubbed, Refresh
// reading the file again, bad files, Open in Explorer on a saved drive, and the
// command line.

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>

#include "app/win32/CommandLine.h"
#include "app/win32/framework/FileNameDialogs.h"
#include "tests/app/win32/MainDialogFixture.h"
#include "tests/platform/win32/TempFolder.h"

namespace {

// A saved scan of root (ncdu's format): Data holds 3 MB, the root 1 MB of its own.
std::string SavedScanOf(const std::string& root, int dataMB = 3) {
  std::string escaped;
  for (char c : root) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return "[1,2,{\"progname\":\"ncdu\",\"progver\":\"2.3\",\"timestamp\":0},\n[{\"name\":\"" + escaped +
         "\"},\n[{\"name\":\"Data\"},{\"name\":\"a.dat\",\"asize\":" + std::to_string(dataMB * kMB) +
         "}],\n{\"name\":\"boot\",\"asize\":1048576}]]\n";
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

class SavedScanDialogTest : public MainDialogTest {
 protected:
  void OpenWithChooser() {
    Open();
    dialog->SetFileChooser([this](HWND, SavedScanChoice choice) {
      ++asked;
      return choice == SavedScanChoice::kSaveAs ? saveAs : open;
    });
    WaitForIdle();
  }
  void Command(UINT id) { SendMessageA(dialog->GetSafeHwnd(), WM_SYSCOMMAND, id, 0); }
  // A scan taken on Linux of '/srv' as C:, and one of the test's root folder as D:.
  void OpenLinuxAndHereScans() {
    WriteFile(folder / "here.json", SavedScanOf(folder / "root"));
    WriteFile(folder / "linux.json", SavedScanOf("/srv"));
    OpenWithChooser();
    open = {folder / "linux.json", folder / "here.json"};
    Command(IDM_OPEN_SAVED_SCAN);
    WaitForIdle();
  }
  bool IsItemEnabled(UINT id) const {
    return (GetMenuState(GetSystemMenu(dialog->GetSafeHwnd(), FALSE), id, MF_BYCOMMAND) & MF_GRAYED) == 0;
  }

  TempFolder folder;
  std::vector<std::string> saveAs;
  std::vector<std::string> open;
  int asked = 0;
};

TEST_F(SavedScanDialogTest, TheSystemMenuOffersTheItemsBeforeAboutWithLettersOfTheirOwn) {
  OpenWithChooser();
  const HMENU systemMenu = GetSystemMenu(dialog->GetSafeHwnd(), FALSE);
  const int count = GetMenuItemCount(systemMenu);
  ASSERT_GE(count, 10);
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 9), static_cast<UINT>(IDM_OPEN_SAVED_SCAN));
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 8), static_cast<UINT>(IDM_SAVE_SCAN));
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 7), static_cast<UINT>(IDM_SORT_BY_SIZE));
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 6), static_cast<UINT>(IDM_LARGEST_FILES));
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 5), static_cast<UINT>(IDM_REFRESH_FOLDER));
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 4), static_cast<UINT>(IDM_SHOW_MAP));
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 3), static_cast<UINT>(IDM_COMPARE));
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));

  // Wine adds an "&About Wine" item of its own: only the new items' letters are checked.
  std::string letters;
  for (int position = 0; position < count; ++position) {
    char text[128] = {};
    GetMenuStringA(systemMenu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    const char* mnemonic = std::strchr(text, '&');
    if (mnemonic != nullptr)
      letters += static_cast<char>(std::toupper(static_cast<unsigned char>(mnemonic[1])));
  }
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'O'), 1) << letters;
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'V'), 1) << letters;
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'Z'), 1) << letters;
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'F'), 1) << letters;
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'H'), 1) << letters;
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'P'), 1) << letters;
  EXPECT_EQ(std::count(letters.begin(), letters.end(), 'W'), 1) << letters;
}

TEST_F(SavedScanDialogTest, TheItemsAreGreyedWhileAScanRunsAndSavingWithoutATree) {
  fileSystem->GetGate().Arm(MemoryFileSystem::OpenPoint("C:"));
  Open();
  dialog->SetFileChooser([this](HWND, SavedScanChoice) {
    ++asked;
    return std::vector<std::string>();
  });
  fileSystem->GetGate().WaitUntilHeld();
  EXPECT_FALSE(IsItemEnabled(IDM_OPEN_SAVED_SCAN));
  EXPECT_FALSE(IsItemEnabled(IDM_SAVE_SCAN));
  Command(IDM_OPEN_SAVED_SCAN);
  Command(IDM_SAVE_SCAN);
  EXPECT_EQ(asked, 0);

  fileSystem->GetGate().Release();
  WaitForIdle();
  EXPECT_TRUE(IsItemEnabled(IDM_OPEN_SAVED_SCAN));
  EXPECT_TRUE(IsItemEnabled(IDM_SAVE_SCAN));

  fileSystem = std::make_shared<MemoryFileSystem>();
  OpenWithChooser();
  EXPECT_TRUE(IsItemEnabled(IDM_OPEN_SAVED_SCAN));
  EXPECT_FALSE(IsItemEnabled(IDM_SAVE_SCAN));
}

TEST_F(SavedScanDialogTest, SavedDrivesOpenAgainAsTheSameTree) {
  OpenWithChooser();
  saveAs = {folder / "scan.json"};
  Command(IDM_SAVE_SCAN);
  ASSERT_TRUE(Exists(folder / "scan-C.json"));
  ASSERT_TRUE(Exists(folder / "scan-D.json"));

  fileSystem = std::make_shared<MemoryFileSystem>();
  OpenWithChooser();
  open = {folder / "scan-C.json", folder / "scan-D.json"};
  Command(IDM_OPEN_SAVED_SCAN);
  WaitForIdle();
  EXPECT_TRUE(dialog->ShowsSavedScans());
  EXPECT_EQ(Labels(), kProtocolMachineLabels);
  PickUnit(3);
  EXPECT_EQ(dialog->GetTree().GetItemText(FindItem(dialog->GetTree(), "D:")), "D:    (1 GB)");
}

TEST_F(SavedScanDialogTest, RefreshReadsTheFileAgainAndABadFileLeavesTheTreeAsItIs) {
  OpenWithChooser();
  const std::string file = folder / "saved.json";
  WriteFile(file, "[1,2,{}");
  open = {file};
  Command(IDM_OPEN_SAVED_SCAN);
  EXPECT_EQ(dialog->GetScanThread(), nullptr);
  EXPECT_EQ(Labels(), kProtocolMachineLabels);

  WriteFile(file, SavedScanOf("/srv"));
  Command(IDM_OPEN_SAVED_SCAN);
  WaitForIdle();
  EXPECT_EQ(Labels(), "/srv    (4 MB)\n  Data    (3 MB)\n");

  const int opened = fileSystem->OpenCount();
  WriteFile(file, SavedScanOf("/srv", 5));
  Click(IDC_REFRESH);
  WaitForIdle();
  EXPECT_EQ(Labels(), "/srv    (6 MB)\n  Data    (5 MB)\n");
  EXPECT_EQ(fileSystem->OpenCount(), opened);

  WriteFile(file, "{}");
  Click(IDC_REFRESH);
  EXPECT_EQ(dialog->GetScanThread(), nullptr);
  EXPECT_EQ(Labels(), "/srv    (6 MB)\n  Data    (5 MB)\n");
}

// The folder is scanned where the saved path names it on this machine, as Open in
// Explorer opens it.
TEST_F(SavedScanDialogTest, ASavedFolderIsScannedAgainOnlyWhereItExistsHere) {
  ASSERT_TRUE(MakeFolder(folder / "root"));
  ASSERT_TRUE(MakeFolder(folder / "root\\Data"));
  WriteFile(folder / "root\\Data\\grown.dat", std::string(2 * kMB, 'x'));
  OpenLinuxAndHereScans();

  const FolderTreeIndex& tree = dialog->GetTree();
  const auto select = [&](TreeItem item) {
    SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(tree.NativeOf(item)));
  };
  const TreeItem linuxDrive = tree.GetRootItem();
  select(tree.GetChildItem(linuxDrive));
  EXPECT_FALSE(IsItemEnabled(IDM_REFRESH_FOLDER));
  select(tree.GetChildItem(tree.GetNextSiblingItem(linuxDrive)));
  EXPECT_TRUE(IsItemEnabled(IDM_REFRESH_FOLDER));
  Command(IDM_REFRESH_FOLDER);
  WaitForIdle();
  EXPECT_EQ(Labels(),
            "/srv    (4 MB)\n  Data    (3 MB)\n" + (folder / "root") + "    (3 MB)\n  Data    (2 MB)\n");
}

TEST_F(SavedScanDialogTest, OpenInExplorerOpensASavedFolderOnlyWhereItExistsHere) {
  ASSERT_TRUE(MakeFolder(folder / "root"));
  ASSERT_TRUE(MakeFolder(folder / "root\\Data"));
  OpenLinuxAndHereScans();

  const FolderTreeIndex& tree = dialog->GetTree();
  for (TreeItem drive = tree.GetRootItem(); drive != kNoItem; drive = tree.GetNextSiblingItem(drive)) {
    SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(tree.NativeOf(tree.GetChildItem(drive))));
    SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, ID_OPEN_IN_EXPLORER, 0);
  }
  ASSERT_EQ(processes->commandLines.size(), 1u);
  EXPECT_EQ(processes->commandLines[0], "explorer.exe \"" + (folder / "root\\Data") + "\"");
}

TEST(SavedScanCommandLine, OnlyAnExistingFileFirstMakesTheArgumentsSavedScans) {
  TempFolder folder;
  const std::string file = folder / "scan one.json";
  WriteFile(file, "[]");
  const std::wstring quoted = L"\"" + Wide(file) + L"\"";
  EXPECT_EQ(SavedScansOnCommandLine((L"ambrell.exe " + quoted + L" second.json").c_str()),
            (std::vector<std::string>{file, "second.json"}));
  EXPECT_TRUE(SavedScansOnCommandLine(L"ambrell.exe").empty());
  EXPECT_TRUE(SavedScansOnCommandLine((L"ambrell.exe \"" + Wide(folder.Path()) + L"\"").c_str()).empty());
  EXPECT_TRUE(SavedScansOnCommandLine(L"ambrell.exe missing.json").empty());
}

TEST(SavedScanFileBox, AChoiceOfSeveralFilesJoinsEachToItsFolder) {
  EXPECT_EQ(SplitChosenFileNames(L"C:\\scans\\one.json\0"), std::vector<std::string>{"C:\\scans\\one.json"});
  EXPECT_EQ(SplitChosenFileNames(L"C:\\scans\0a.json\0b.json\0"),
            (std::vector<std::string>{"C:\\scans\\a.json", "C:\\scans\\b.json"}));
  EXPECT_EQ(SplitChosenFileNames(L"C:\\\0a.json\0b.json\0"),
            (std::vector<std::string>{"C:\\a.json", "C:\\b.json"}));
  EXPECT_TRUE(SplitChosenFileNames(L"").empty());
}

}  // namespace
