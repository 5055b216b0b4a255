#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

std::vector<std::string> EntryNames(FileSystem& fileSystem, const char* pattern, ListingStatus& status) {
  std::vector<std::string> names;
  ListingResult result = fileSystem.OpenListing(pattern);
  status = result.status;
  DirectoryEntry entry;
  while (result.listing && result.listing->Next(entry)) names.push_back(entry.name);
  return names;
}

TEST(FolderDrives, EnginePatternsAreRewrittenOntoTheFolder) {
  DriveTable table;
  table.Add("T:\\", "T:\\");
  table.Add("C:\\data\\x", "x");
  table.Add("\\\\server\\share", "\\\\server\\share");
  const struct {
    const char* pattern;
    const char* native;
  } cases[] = {
      {"C:\\a\\b\\*", "T:\\a\\b\\*"},
      {"d:\\a\\*", "C:\\data\\x\\a\\*"},
      {"E:\\a\\*", "\\\\server\\share\\a\\*"},
  };
  for (const auto& c : cases) {
    std::string native;
    ASSERT_TRUE(MapToFolderDrive(table, c.pattern, native)) << c.pattern;
    EXPECT_EQ(native, c.native) << c.pattern;
  }
  std::string native;
  EXPECT_FALSE(MapToFolderDrive(table, "F:\\*", native));
}

TEST(FolderDrives, EachFolderIsAFixedDriveListedFromItsRoot) {
  TempFolder temp;
  ASSERT_TRUE(MakeFolder(temp / "first"));
  ASSERT_TRUE(MakeFile(temp / "first\\one.txt", 1));
  ASSERT_TRUE(MakeFolder(temp / "second"));
  ASSERT_TRUE(MakeFolder(temp / "second\\inner"));
  ASSERT_TRUE(MakeFile(temp / "second\\inner\\two.txt", 2));
  DriveTable table;
  table.Add(temp / "first", "first");
  table.Add(temp / "second\\", "second");
  Win32FileSystem fileSystem(table);

  EXPECT_EQ(fileSystem.GetLogicalDrives(), (1u << 2) | (1u << 3));
  EXPECT_TRUE(fileSystem.IsFixedDrive("C:"));
  EXPECT_TRUE(fileSystem.IsFixedDrive("D:"));
  EXPECT_FALSE(fileSystem.IsFixedDrive("E:"));

  ListingStatus status;
  EXPECT_EQ(EntryNames(fileSystem, "C:\\*", status), std::vector<std::string>{"one.txt"});
  EXPECT_EQ(EntryNames(fileSystem, "D:\\inner\\*", status), std::vector<std::string>{"two.txt"});
  EntryNames(fileSystem, "E:\\*", status);
  EXPECT_EQ(status, ListingStatus::Failed);
  std::uint64_t used = 0;
  EXPECT_FALSE(fileSystem.GetUsedBytes("C:", used)) << "a folder is part of a volume: no share of it";
}

TEST(MachineDrives, TheSystemDriveIsFixed) {
  PlatformServices services = OpenFixedDrives();
  EXPECT_NE(services.fileSystem->GetLogicalDrives() & (1u << 2), 0u);
  EXPECT_TRUE(services.fileSystem->IsFixedDrive("C:"));
  EXPECT_EQ(services.display->ForName("C:", true).GetText(), std::string("C:"));
  std::uint64_t used = 0;
  EXPECT_TRUE(services.fileSystem->GetUsedBytes("C:", used)) << "through the listing threads too";
  EXPECT_GT(used, 0u);
}

TEST(OpenFolders, AFolderIsShownAsGivenAndListedFromItsFullPath) {
  TempFolder temp;
  ASSERT_TRUE(MakeFolder(temp / u8"sub ünï"));
  ASSERT_TRUE(MakeFile(temp / u8"sub ünï\\f.txt", 4));
  std::string given = temp.Path() + u8"/./sub ünï/";

  PlatformServices services;
  std::string error;
  ASSERT_TRUE(OpenFolders({given}, services, error)) << error;
  EXPECT_EQ(services.display->ForName("C:", true).GetText(), given);
  EXPECT_EQ(services.display->ForName("C:", false).GetText(), std::string("C:"));
  ListingStatus status;
  EXPECT_EQ(EntryNames(*services.fileSystem, "C:\\*", status), std::vector<std::string>{"f.txt"});
}

TEST(OpenFolders, MissingFoldersAndFilesAreRefused) {
  TempFolder temp;
  ASSERT_TRUE(MakeFile(temp / "file.txt", 1));
  for (const std::string& folder : {temp / "missing", temp / "file.txt", std::string()}) {
    PlatformServices services;
    std::string error;
    EXPECT_FALSE(OpenFolders({temp.Path(), folder}, services, error)) << folder;
    EXPECT_EQ(error, folder + ": no such folder");
  }
}

}  // namespace
