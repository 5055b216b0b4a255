#include <gtest/gtest.h>

#include <map>
#include <string>

#include "TempFolder.h"
#include "platform/win32/WideLister.h"

namespace {

struct Listed {
  ListingStatus status = ListingStatus::Failed;
  std::map<std::string, DirectoryEntry> entries;  // names owned by the keys
};

Listed ListFolder(const std::string& folder) {
  Listed listed;
  ListingResult result = OpenWideListing((folder + "\\*").c_str());
  listed.status = result.status;
  DirectoryEntry entry;
  while (result.listing && result.listing->Next(entry)) {
    DirectoryEntry& kept = listed.entries[entry.name];
    kept = entry;
    kept.name = nullptr;
  }
  return listed;
}

TEST(WideLister, NamesOutsideTheAnsiCodePageComeBackIntact) {
  TempFolder temp;
  const std::string folder = temp / u8"ünïcødé";
  ASSERT_TRUE(MakeFolder(folder));
  ASSERT_TRUE(MakeFile(temp / u8"日本語", 3));
  ASSERT_TRUE(MakeFile(folder + u8"\\ファイル", 5));

  const Listed top = ListFolder(temp.Path());
  ASSERT_EQ(top.status, ListingStatus::Opened);
  ASSERT_EQ(top.entries.size(), 2u);  // '.' and '..' are not reported
  EXPECT_TRUE(top.entries.at(u8"ünïcødé").isFolder);
  EXPECT_FALSE(top.entries.at(u8"日本語").isFolder);
  EXPECT_EQ(top.entries.at(u8"日本語").size, 3u);

  // The name found goes back into the next pattern.
  const Listed inner = ListFolder(folder);
  ASSERT_EQ(inner.status, ListingStatus::Opened);
  ASSERT_EQ(inner.entries.count(u8"ファイル"), 1u);
  EXPECT_EQ(inner.entries.at(u8"ファイル").size, 5u);
}

TEST(WideLister, ListsFoldersWhosePathPasses260Characters) {
  TempFolder temp;
  std::string deep = temp.Path();
  const std::string step(60, 'd');
  while (deep.size() <= 300) {
    deep += "\\" + step;
    ASSERT_TRUE(MakeFolder(deep));
  }
  ASSERT_TRUE(MakeFile(deep + "\\leaf.txt", 7));

  const Listed listed = ListFolder(deep);
  ASSERT_EQ(listed.status, ListingStatus::Opened);
  ASSERT_EQ(listed.entries.size(), 1u);  // the one entry is the first one found
  EXPECT_EQ(listed.entries.at("leaf.txt").size, 7u);
}

TEST(WideLister, SizeKeepsTheHighWord) {
  TempFolder temp;
  const std::uint64_t fourGiBPlusOne = (std::uint64_t{1} << 32) + 1;
  ASSERT_TRUE(MakeFile(temp / "big.bin", fourGiBPlusOne));

  const Listed listed = ListFolder(temp.Path());
  ASSERT_EQ(listed.status, ListingStatus::Opened);
  EXPECT_EQ(listed.entries.at("big.bin").size, fourGiBPlusOne);
}

TEST(WideLister, EmptyFolderHasNoEntriesAndDoesNotFail) {
  TempFolder temp;
  const Listed listed = ListFolder(temp.Path());
  EXPECT_NE(listed.status, ListingStatus::Failed);
  EXPECT_TRUE(listed.entries.empty());
}

TEST(WideLister, MissingFolderOrFileFails) {
  TempFolder temp;
  ASSERT_TRUE(MakeFile(temp / "file.txt", 1));
  EXPECT_EQ(ListFolder(temp / "missing").status, ListingStatus::Failed);
  EXPECT_EQ(ListFolder(temp / "file.txt").status, ListingStatus::Failed);
  EXPECT_EQ(OpenWideListing("\xff\xfe\\*").status, ListingStatus::Failed);  // not UTF-8
}

// Wine shows no reparse kind but links (without a tag; the end-to-end test has them),
// so the decision is checked with the tags real NTFS volumes carry.
TEST(FolderToEnter, OnlyLinksJunctionsAndMountPointsAreLeftUnentered) {
  constexpr std::uint32_t folder = FILE_ATTRIBUTE_DIRECTORY;
  constexpr std::uint32_t reparseFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  EXPECT_TRUE(IsFolderToEnter(folder, 0));
  // A tag is meaningful only with the reparse attribute: a stale one is ignored.
  EXPECT_TRUE(IsFolderToEnter(folder, IO_REPARSE_TAG_SYMLINK));

  // Cloud placeholders (every variant of the cloud tag), projected and deduplicated
  // folders hold real content.
  for (const std::uint32_t tag :
       {0x9000001Au, 0x9000101Au, 0x9000601Au, 0x9000F01Au, 0x9000001Cu, 0x80000013u}) {
    EXPECT_TRUE(IsFolderToEnter(reparseFolder, tag)) << std::hex << tag;
  }
  for (const std::uint32_t tag : {0xA000000Cu /* symbolic link */, 0xA0000003u /* junction, mount point */}) {
    EXPECT_FALSE(IsFolderToEnter(reparseFolder, tag)) << std::hex << tag;
  }
  EXPECT_FALSE(IsFolderToEnter(reparseFolder, 0));  // no tag: it might be a link
  EXPECT_FALSE(IsFolderToEnter(FILE_ATTRIBUTE_ARCHIVE, 0));
  EXPECT_FALSE(IsFolderToEnter(FILE_ATTRIBUTE_REPARSE_POINT, 0x9000001Au));  // a cloud file
}

TEST(ExtendedPath, AddsThePrefixForEachKindOfAbsolutePath) {
  const struct {
    const wchar_t* path;
    const wchar_t* extended;
  } cases[] = {
      {L"C:\\*", L"\\\\?\\C:\\*"},
      {L"C:\\a\\b\\*", L"\\\\?\\C:\\a\\b\\*"},
      {L"\\\\server\\share\\a\\*", L"\\\\?\\UNC\\server\\share\\a\\*"},
      {L"\\\\?\\C:\\a", L"\\\\?\\C:\\a"},
      {L"\\\\?\\UNC\\server\\share", L"\\\\?\\UNC\\server\\share"},
      {L"C:/a/b", L"\\\\?\\C:\\a\\b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToExtendedPath(c.path), c.extended) << WideToUtf8(c.path);
  }
}

}  // namespace
