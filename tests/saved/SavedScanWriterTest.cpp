#include <gtest/gtest.h>

#include <string>

#include "saved/SavedFileNames.h"
#include "saved/SavedScanWriter.h"
#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/SizeLabels.h"

namespace {

constexpr std::uint64_t kLargest = ~0ull;

// Drives show as mount points, as on Linux.
class MountDisplay : public DisplayText {
 public:
  CDynString ForName(const char* name, bool isDrive) const override {
    return CDynString(isDrive ? (std::string("/mnt/") + name[0]).c_str() : name, AllocHeap);
  }
};

class SavedScanWriterTest : public ::testing::Test {
 protected:
  InsertedItem Add(InsertedItem parent, const char* name, std::uint64_t ownFiles, bool unreadable = false) {
    FolderRecord* record = folders.Add(name);
    record->ownFiles = ownFiles;
    record->unreadable = unreadable;
    return tree.Insert(parent, name, record);
  }

  std::string Write(TreeItem drive) {
    std::string text;
    WriteSavedScan(tree, drive, display, 1700000000,
                   [&text](const char* bytes, std::size_t length) { text.append(bytes, length); });
    return text;
  }

  FolderStore folders;
  MemoryTree tree;
  MountDisplay display;
};

// A folder's own files as the one file entry that stands for them.
std::string OwnFiles(const char* size) {
  return std::string(",\n{\"name\":\"(files in this folder)\",\"asize\":") + size + ",\"dsize\":" + size +
         ",\"ambrell_own_files\":true}";
}

TEST_F(SavedScanWriterTest, WritesFoldersDepthFirstWithTheirOwnFilesAsAFileEntry) {
  const InsertedItem c = Add(kTopLevel, "C:", 1);
  const InsertedItem a = Add(c, "a", 10, true);
  Add(Add(a, "a1", 100), "a11", 1000);
  Add(c, "b", 0);
  Add(Add(kTopLevel, "D:", 5), "other", 7);
  AccumulateFolderSizes(tree);  // a saved tree is a finished one

  EXPECT_EQ(Write(c),
            "[1,2,{\"progname\":\"ambrell\",\"progver\":\"1.1\",\"timestamp\":1700000000},\n"
            "[{\"name\":\"/mnt/C\",\"asize\":0,\"dsize\":0}" +
                OwnFiles("1") +
                ",\n"
                "[{\"name\":\"a\",\"asize\":0,\"dsize\":0,\"read_error\":true}" +
                OwnFiles("10") +
                ",\n"
                "[{\"name\":\"a1\",\"asize\":0,\"dsize\":0}" +
                OwnFiles("100") +
                ",\n"
                "[{\"name\":\"a11\",\"asize\":0,\"dsize\":0}" +
                OwnFiles("1000") +
                "]]],\n"
                "[{\"name\":\"b\",\"asize\":0,\"dsize\":0}]]]\n");
  EXPECT_EQ(Write(tree.GetNextSiblingItem(c)),
            "[1,2,{\"progname\":\"ambrell\",\"progver\":\"1.1\",\"timestamp\":1700000000},\n"
            "[{\"name\":\"/mnt/D\",\"asize\":0,\"dsize\":0}" +
                OwnFiles("5") +
                ",\n"
                "[{\"name\":\"other\",\"asize\":0,\"dsize\":0}" +
                OwnFiles("7") + "]]]\n");
}

// An aborted scan's tree is saved with what it lacks marked as a read error.
TEST_F(SavedScanWriterTest, AFolderCutShortIsMarkedAsAReadError) {
  const InsertedItem c = Add(kTopLevel, "C:", 0);
  FolderRecord* cut = folders.Add("cut");
  cut->incomplete = true;
  tree.Insert(c, "cut", cut);
  EXPECT_NE(Write(c).find("{\"name\":\"cut\",\"asize\":0,\"dsize\":0,\"read_error\":true}"),
            std::string::npos);
}

TEST_F(SavedScanWriterTest, NamesKeepTheirBytesWithWhatJsonForbidsEscaped) {
  const InsertedItem c = Add(kTopLevel, "C:", 0);
  Add(c, "q\"b\\s\x01\n\t\x1f\x7f/\xff\xfe caf\xc3\xa9", 0);
  const std::string text = Write(c);
  EXPECT_NE(text.find("{\"name\":\"q\\\"b\\\\s\\u0001\\n\\t\\u001f\\u007f/\xff\xfe caf\xc3\xa9\","),
            std::string::npos)
      << text;
}

TEST_F(SavedScanWriterTest, ATotalThatStoppedAtTheLargestSizeIsWrittenAsIt) {
  // Totals as the totals pass leaves them when they pass 2^64 - 1.
  const InsertedItem c = Add(kTopLevel, "C:", kLargest);
  const InsertedItem big = Add(c, "big", kLargest);
  Add(big, "bigger", 1ull << 63);
  Add(c, "small", 2);
  const std::string text = Write(c);
  EXPECT_NE(text.find("\"/mnt/C\",\"asize\":0,\"dsize\":0}" + OwnFiles("18446744073709551615")),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"big\",\"asize\":0,\"dsize\":0}" + OwnFiles("18446744073709551615")),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"bigger\",\"asize\":0,\"dsize\":0}" + OwnFiles("9223372036854775808")),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"small\",\"asize\":0,\"dsize\":0}" + OwnFiles("2")), std::string::npos) << text;
}

TEST_F(SavedScanWriterTest, SeveralDrivesGoToOneFileEachWithTheLetterBeforeTheExtension) {
  Add(kTopLevel, "C:", 0);
  EXPECT_EQ(PlanSavedFiles(tree, "scan.json")[0].path, "scan.json") << "one drive keeps the name given";
  Add(kTopLevel, "E:", 0);
  const std::vector<SavedFile> files = PlanSavedFiles(tree, "/tmp/v1.0/scan.json");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].path, "/tmp/v1.0/scan-C.json");
  EXPECT_EQ(files[1].path, "/tmp/v1.0/scan-E.json");
  EXPECT_EQ(files[1].drive, tree.GetNextSiblingItem(tree.GetRootItem()));

  EXPECT_EQ(SavedFileNameForDrive("scan", 'D'), "scan-D");
  EXPECT_EQ(SavedFileNameForDrive("v1.0/scan", 'D'), "v1.0/scan-D");
  EXPECT_EQ(SavedFileNameForDrive("C:\\saves\\.json", 'D'), "C:\\saves\\.json-D");
  EXPECT_EQ(SavedFileNameForDrive("a.tar.json", 'D'), "a.tar-D.json");
}

}  // namespace
