// What the dialogs say on standard error about saved scans: hostile names
// made harmless, and which files a save replaced, or that none was.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/SavedScanFiles.h"
#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"

namespace {

class PlainNames : public DisplayText {
 public:
  CDynString ForName(const char* name, bool) const override { return CDynString(name, AllocHeap); }
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SavedScanFilesTest : public ::testing::Test {
 protected:
  SavedScanFilesTest() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("ambrell-saved-files-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directory(path);
    folder = path.u8string();
  }
  ~SavedScanFilesTest() override { std::filesystem::remove_all(std::filesystem::u8path(folder)); }

  void AddDrive(const char* name) { tree.Insert(kTopLevel, name, folders.Add(name)); }

  FolderStore folders;
  MemoryTree tree;
  PlainNames names;
  std::string folder;
};

TEST_F(SavedScanFilesTest, ErrorsFromAFileCannotDriveTheTerminal) {
  testing::internal::CaptureStderr();
  ReportSavedScanError("evil.json:3:9: 'a/\x1b]0;PWNED\x07' is no file name");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find('\x1b'), std::string::npos) << said;
  EXPECT_EQ(said.find('\x07'), std::string::npos) << said;
  EXPECT_EQ(said.rfind("ambrell: evil.json:3:9: ", 0), 0u) << said;
}

TEST_F(SavedScanFilesTest, SavingSaysWhichFilesWereWrittenOrThatNoneWas) {
  AddDrive("C:");
  AddDrive("D:");
  testing::internal::CaptureStderr();
  EXPECT_TRUE(SaveTreeAsScans(tree, names, folder + "/scan.json"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ambrell: saved " + folder + "/scan-C.json\nambrell: saved " + folder + "/scan-D.json\n");

  // The second drive's target is a folder: the first file is not replaced either.
  std::ofstream(folder + "/two-C.json") << "old";
  ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::u8path(folder + "/two-D.json")));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(SaveTreeAsScans(tree, names, folder + "/two.json"));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("two-D.json: "), std::string::npos) << said;
  EXPECT_NE(said.find("ambrell: nothing was saved\n"), std::string::npos) << said;
  EXPECT_EQ(Slurp(folder + "/two-C.json"), "old");
}

}  // namespace
