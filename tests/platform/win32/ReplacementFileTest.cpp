#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/ReplacementFile.h"
#include "platform/Utf8File.h"

namespace {

using NameList = std::vector<std::string>;

bool WriteText(const std::string& path, const std::string& text) {
  std::FILE* file = OpenUtf8File(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

std::string ReadText(const std::string& path) {
  std::FILE* file = OpenUtf8File(path, "rb");
  if (file == nullptr) return "(cannot be opened)";
  std::string text;
  char buffer[256];
  std::size_t read;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
  std::fclose(file);
  return text;
}

// Every name in a folder: a temporary file left behind shows here.
NameList Names(const std::string& folder) {
  NameList names;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((Extended(folder) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = WideToUtf8(data.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

bool Save(const std::string& path, const std::string& text, std::string& error) {
  ReplacementFile file;
  return file.Open(path, error) && file.Write(text.data(), text.size()) && file.Finish(error) &&
         file.Commit(error);
}

TEST(ReplacementFile, ReplacesTheFileOrMakesItAndLeavesNothingElse) {
  TempFolder temp;
  const std::string target = temp / "scan.json";
  std::string error;
  ASSERT_TRUE(Save(target, "first", error)) << error;
  EXPECT_EQ(ReadText(target), "first");

  ASSERT_TRUE(Save(target, "the second, longer", error)) << error;
  EXPECT_EQ(ReadText(target), "the second, longer");
  EXPECT_EQ(Names(temp.Path()), NameList{"scan.json"});
}

TEST(ReplacementFile, ASaveNotCommittedLeavesTheOldFileByteForByte) {
  TempFolder temp;
  const std::string target = temp / "scan.json";
  const std::string old("old\0content\r\n", 13);
  ASSERT_TRUE(WriteText(target, old));
  std::string error;

  {
    ReplacementFile file;
    ASSERT_TRUE(file.Open(target, error)) << error;
    ASSERT_TRUE(file.Write("new", 3));
    EXPECT_EQ(Names(temp.Path()).size(), 2u);  // the new content goes elsewhere meanwhile
    file.Discard();
    EXPECT_FALSE(file.Commit(error));
    EXPECT_EQ(ReadText(target), old);
    EXPECT_EQ(Names(temp.Path()), NameList{"scan.json"});

    // Opened again and left unfinished: the program ending mid-save.
    ASSERT_TRUE(file.Open(target, error)) << error;
    ASSERT_TRUE(file.Write("newer", 5));
  }
  EXPECT_EQ(ReadText(target), old);
  EXPECT_EQ(Names(temp.Path()), NameList{"scan.json"});
}

TEST(ReplacementFile, AFolderOrADeviceIsRefusedAndNothingIsTouched) {
  TempFolder temp;
  const std::string folder = temp / "scan.json";
  ASSERT_TRUE(MakeFolder(folder));
  ASSERT_TRUE(WriteText(folder + "\\inside", "kept"));

  for (const std::string& path : {folder, folder + "\\", std::string("NUL"), std::string("CON")}) {
    ReplacementFile file;
    std::string error;
    EXPECT_FALSE(file.Open(path, error)) << path;
    EXPECT_EQ(error.rfind(path + ": is a ", 0), 0u) << error;
    EXPECT_FALSE(file.Write("x", 1));
  }
  EXPECT_EQ(Names(temp.Path()), NameList{"scan.json"});
  EXPECT_EQ(Names(folder), NameList{"inside"});
  EXPECT_EQ(ReadText(folder + "\\inside"), "kept");
}

TEST(ReplacementFile, ANameOutsideTheCodePageIsSavedUnderItself) {
  TempFolder temp;
  const std::string name = u8"\u65e5\u672c \u00fc\u00df \U0001F4C1.json";
  std::string error;
  ASSERT_TRUE(Save(temp / name, "saved", error)) << error;
  EXPECT_EQ(Names(temp.Path()), NameList{name});
  EXPECT_EQ(ReadText(temp / name), "saved");
}

}  // namespace
