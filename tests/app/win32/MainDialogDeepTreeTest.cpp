// A tree far deeper than any Windows path allows (32,767 characters): only a saved scan
// brings one, and the tree control must be filled, labelled and emptied without
// recursing once per level.

#include <cstdio>
#include <string>

#include "app/SavedScanFiles.h"
#include "platform/Utf8File.h"
#include "tests/app/win32/MainDialogFixture.h"
#include "tests/platform/win32/TempFolder.h"

namespace {

constexpr int kLevels = 100000;

// A chain of folders named 'd' below a root named root, each with 1 MB of files of its own.
bool WriteChain(const std::string& path, int levels, const std::string& root = "d") {
  std::string text = "[1,2,{\"progname\":\"ambrell\",\"progver\":\"1.1\",\"timestamp\":0},\n";
  for (int level = 0; level < levels; ++level) {
    if (level > 0) text += ",\n";
    text += "[{\"name\":\"" + (level == 0 ? root : std::string("d")) + "\",\"asize\":1048576}";
  }
  text.append(static_cast<std::size_t>(levels), ']');
  text += "]\n";
  std::FILE* file = OpenUtf8File(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

class DeepTreeDialogTest : public MainDialogTest {
 protected:
  void ExpectTheWholeChain() const {
    const FolderTreeIndex& tree = dialog->GetTree();
    ASSERT_EQ(tree.GetCount(), static_cast<std::size_t>(kLevels));
    EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), "d    (100,000 MB)");
    // Items are numbered in the order they came, so the last is the deepest.
    EXPECT_EQ(tree.GetItemText(kLevels), "d    (1 MB)");
  }
  // The dialog on the chain saved in a file, below a root of that name, its scan ended.
  void OpenChain(const std::string& root = "d") {
    const std::string file = folder / "chain.json";
    ASSERT_TRUE(WriteChain(file, kLevels, root));
    SavedScanSet saved;
    std::string error;
    ASSERT_TRUE(ReadSavedScanSet({file}, saved, error)) << error;
    dialog = std::make_unique<CAmbrellDlg>(TestServices(fileSystem, processes), std::move(saved));
    ASSERT_TRUE(dialog->Create());
    WaitForIdle();
  }

  TempFolder folder;
};

TEST_F(DeepTreeDialogTest, AHundredThousandLevelsAreShownRefreshedAndClosed) {
  OpenChain();
  ExpectTheWholeChain();

  Click(IDC_REFRESH);  // reads the file again, into an emptied tree
  WaitForIdle();
  ExpectTheWholeChain();

  dialog.reset();  // empties the tree once more
}

// The chain's root is a folder here: scanned again, everything below it leaves the
// control, a thousand levels a message.
TEST_F(DeepTreeDialogTest, AFolderRefreshEmptiesAHundredThousandLevelsBelowIt) {
  const std::string root = folder / "root";
  ASSERT_TRUE(MakeFolder(root));
  std::string escaped;
  for (char c : root) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  OpenChain(escaped);

  const FolderTreeIndex& tree = dialog->GetTree();
  SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(tree.NativeOf(tree.GetRootItem())));
  SendMessageA(dialog->GetSafeHwnd(), WM_SYSCOMMAND, IDM_REFRESH_FOLDER, 0);
  WaitForIdle();
  EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), root + "    (0 MB)");
  EXPECT_FALSE(tree.ItemHasChildren(tree.GetRootItem()));
  EXPECT_EQ(tree.Control().GetChildItem(tree.NativeOf(tree.GetRootItem())), nullptr);
  dialog.reset();
}

}  // namespace
