#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/posix/NameMapping.h"
#include "platform/posix/PosixPlatform.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "scan/SizeLabels.h"
#include "tests/platform/posix/TempTree.h"
#include "tests/support/TreeDump.h"

namespace {

TEST(OpenFolders, RefusesWhatIsNoFolder) {
  TempTree tree;
  ASSERT_TRUE(tree.File("file"));
  PlatformServices services;
  std::string error;
  EXPECT_FALSE(OpenFolders({tree.Path(), "/nope/ambrell"}, services, error));
  EXPECT_EQ(error, "/nope/ambrell: No such file or directory");
  EXPECT_FALSE(OpenFolders({tree.Path() + "/file"}, services, error));
  EXPECT_EQ(error, tree.Path() + "/file: not a folder");
  EXPECT_FALSE(OpenFolders(std::vector<std::string>(25, tree.Path()), services, error));
  EXPECT_EQ(error, "too many folders; at most 24");
  EXPECT_FALSE(services.fileSystem);
}

// A drive that is a whole file system tells what it uses; a folder given is
// part of one, and tells nothing: a share of it would be meaningless.
TEST(UsedSpace, IsKnownForWholeDrivesOnlyAndEvenThroughTheListingThreads) {
  TempTree tree;
  PlatformServices folders;
  std::string error;
  ASSERT_TRUE(OpenFolders({tree.Path()}, folders, error)) << error;
  std::uint64_t used = 0;
  EXPECT_FALSE(folders.fileSystem->GetUsedBytes("C:", used));

  PlatformServices drives = OpenFixedDrives();
  const std::uint32_t mask = drives.fileSystem->GetLogicalDrives();
  if (mask == 0) GTEST_SKIP() << "this machine has no fixed drive";
  int known = 0;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    const char root[3] = {letter, ':', '\0'};
    if ((mask >> (letter - 'A') & 1u) == 0) continue;
    used = 0;
    if (drives.fileSystem->GetUsedBytes(root, used) && used > 0) ++known;
  }
  EXPECT_GT(known, 0) << "no fixed drive told its used space";
  EXPECT_FALSE(drives.fileSystem->GetUsedBytes("B:", used)) << "no such drive";
}

class ScannedFolderTest : public ::testing::Test {
 protected:
  ScanSummary ScanAndLabel(const std::vector<std::string>& folders) {
    std::string error;
    EXPECT_TRUE(OpenFolders(folders, services, error)) << error;
    ScanJob job{*services.fileSystem, records, tree};
    ScanDrives(job);
    AccumulateFolderSizes(tree);
    FixedNumberLocale plain(0, "");
    UpdateAllLabels(LabelContext{tree, 0, plain, *services.display});
    return job.summary;
  }

  TempTree folder;
  PlatformServices services;
  FolderStore records;
  MemoryTree tree;
};

TEST_F(ScannedFolderTest, EveryFolderIsEnteredAndShownWithItsRealName) {
  ASSERT_TRUE(folder.Folder("a:b"));
  ASSERT_TRUE(folder.File("a:b/f", 7));
  ASSERT_TRUE(folder.Folder("C:"));
  ASSERT_TRUE(folder.File("C:/g", 5));
  ASSERT_TRUE(folder.Folder("x"));
  ASSERT_TRUE(folder.Folder("x/<y>"));
  ASSERT_TRUE(folder.File("x/<y>/h", 3));
  ASSERT_EQ(::symlinkat("..", folder.Fd(), "x/up"), 0);

  const std::string given = folder.Path() + "/";
  const ScanSummary summary = ScanAndLabel({given, folder.Path() + "/x"});

  EXPECT_EQ(summary.unreadableFolders, 0u);
  // Siblings come in the order the directory lists them; compare as sets.
  const std::string dump = DumpLabels(tree);
  const std::vector<std::string> expectedLines = {
      given + "    (17 bytes)\n", "  a:b    (7 bytes)\n",   "  C:    (5 bytes)\n",
      "  x    (5 bytes)\n",       "    <y>    (3 bytes)\n", folder.Path() + "/x    (5 bytes)\n",
      "  <y>    (3 bytes)\n"};
  for (const std::string& line : expectedLines) {
    EXPECT_NE(dump.find(line), std::string::npos) << line << " in\n" << dump;
  }
  EXPECT_EQ(summary.folders, 7u);
}

TEST_F(ScannedFolderTest, NativePathIsTheGivenFolderAndTheRealNames) {
  ASSERT_TRUE(folder.Folder("p|pe"));
  ScanAndLabel({folder.Path()});
  CPath path;
  path.Parse(CDynString(("C:\\" + MapName("p|pe") + "\\" + MapName("q\"x")).c_str(), AllocHeap));
  EXPECT_EQ(NativeFolderPath(services, path), folder.Path() + "/p|pe/q\"x");
  CPath drive;
  drive.Parse(CDynString("C:\\", AllocHeap));
  EXPECT_EQ(NativeFolderPath(services, drive), folder.Path());
  CPath unknown;
  unknown.Parse(CDynString("Q:\\x", AllocHeap));
  EXPECT_EQ(NativeFolderPath(services, unknown), "");
}

TEST(OpenSavedDrives, ShowsEachSavedRootAndLooksForItsFoldersThere) {
  PlatformServices services;
  std::string error;
  ASSERT_TRUE(OpenSavedDrives({"/srv/data", "/home"}, services, error)) << error;
  EXPECT_STREQ(services.display->ForName("D:", true).GetText(), "/home");
  const std::string record = services.display->RecordName("a:b");
  EXPECT_EQ(record, MapName("a:b")) << "a saved name travels as a scanned one does";
  EXPECT_STREQ(services.display->ForName(record.c_str(), false).GetText(), "a:b");
  CPath path;
  path.Parse(CDynString(("C:\\" + record).c_str(), AllocHeap));
  EXPECT_EQ(NativeFolderPath(services, path), "/srv/data/a:b");

  EXPECT_FALSE(OpenSavedDrives(std::vector<std::string>(25, "/x"), services, error));
  EXPECT_EQ(error, "too many saved scans; at most 24");
}

TEST(OpenFixedDrives, FindsTheDiskHoldingTheRoot) {
  const PlatformServices services = OpenFixedDrives();
  ASSERT_TRUE(services.fileSystem && services.display && services.locale);
  const std::uint32_t mask = services.fileSystem->GetLogicalDrives();
  EXPECT_EQ(mask & 3u, 0u);  // no A: or B:
  if (mask != 0) {
    EXPECT_TRUE(services.fileSystem->IsFixedDrive("C:"));
    EXPECT_EQ(services.fileSystem->OpenListing("C:\\*").status, ListingStatus::Opened);
    EXPECT_EQ(services.display->ForName("C:", true).GetText()[0], '/');
  }
}

}  // namespace
