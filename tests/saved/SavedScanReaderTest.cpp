#include <gtest/gtest.h>

#include <string>

#include "saved/SavedScanReader.h"
#include "saved/SavedScanWriter.h"
#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/SizeLabels.h"
#include "tests/support/TreeDump.h"

namespace {

// Record names differ from real ones, as mapped Linux names do.
class ColonDisplay : public DisplayText {
 public:
  CDynString ForName(const char* name, bool) const override {
    std::string real = name;
    for (char& c : real) c = c == '_' ? ':' : c;
    return CDynString(real.c_str(), AllocHeap);
  }
  std::string RecordName(std::string_view realName) const override {
    std::string name(realName);
    for (char& c : name) c = c == ':' ? '_' : c;
    return name;
  }
};

class SavedScanReaderTest : public ::testing::Test {
 protected:
  bool Read(const std::string& text, SavedScan& scan) {
    MemorySource source(text);
    error.clear();
    return ReadSavedScan(source, "s.json", scan, error);
  }

  // The records (each folder's own files) once inserted as drive C:.
  std::string ReadAndDump(const std::string& text) {
    SavedScan scan;
    if (!Read(text, scan)) return error;
    scan.InsertInto(tree, folders, "C:", names);
    return DumpRecords(tree);
  }

  std::string ReadError(const std::string& text) {
    SavedScan scan;
    return Read(text, scan) ? "read" : error;
  }

  FolderStore folders;
  MemoryTree tree;
  ColonDisplay names;
  std::string error;
};

TEST_F(SavedScanReaderTest, ReadsWhatNcduWrites) {
  // ncdu 1.18 -o, with an unreadable folder, exclusions, hard links and
  // special files. Folder sizes there are the folder entries' own.
  const char* text =
      "[1,2,{\"progname\":\"ncdu\",\"progver\":\"1.18\",\"timestamp\":1796668428},\n"
      "[{\"name\":\"/tmp/nc/t\",\"asize\":4096,\"dsize\":4096,\"dev\":65024},\n"
      "[{\"name\":\"lock\",\"asize\":4096,\"dsize\":4096,\"read_error\":true}],\n"
      "{\"name\":\"x\",\"dev\":0,\"excluded\":\"pattern\"},\n"
      "{\"name\":\"mnt\",\"asize\":4096,\"excluded\":\"otherfs\"},\n"
      "{\"name\":\"proc\",\"excluded\":\"othfs\"},\n"
      "[{\"name\":\"a:b\",\"asize\":4096,\"dsize\":4096},\n"
      "[{\"name\":\"b\",\"asize\":4096,\"dsize\":4096},\n"
      "{\"name\":\"g\",\"asize\":3,\"dsize\":4096}],\n"
      "{\"name\":\"f\",\"asize\":5,\"dsize\":4096,\"ino\":10953560,\"hlnkc\":true,\"nlink\":2},\n"
      "{\"name\":\"h\",\"asize\":5,\"dsize\":4096,\"ino\":10953560,\"hlnkc\":true,\"nlink\":2},\n"
      "{\"name\":\"up\",\"asize\":2,\"notreg\":true},\n"
      "{\"name\":\"p\",\"notreg\":true}]]]\n";
  SavedScan scan;
  ASSERT_TRUE(Read(text, scan)) << error;
  EXPECT_EQ(scan.RootName(), "/tmp/nc/t");
  EXPECT_EQ(scan.FolderCount(), 6u);
  EXPECT_EQ(scan.UnreadableFolders(), 1u);
  scan.InsertInto(tree, folders, "C:", names);
  EXPECT_EQ(DumpRecords(tree),
            "C: 0\n"
            "  lock 0\n"
            "  mnt 0\n"
            "  proc 0\n"
            "  a_b 12\n"
            "    b 3\n");
  EXPECT_TRUE(tree.GetItemData(2)->unreadable);
  EXPECT_EQ(tree.GetItemText(5), "a_b") << "inserted with the record's name, as a scan inserts";
}

TEST_F(SavedScanReaderTest, ReadsWhatGduWrites) {
  EXPECT_EQ(ReadAndDump("[1,2,{\"progname\":\"gdu\",\"progver\":\"5.22.0-1+b1\",\"timestamp\":1796668428},\n"
                        "[{\"name\":\"/tmp/nc/t\",\"mtime\":1796668428},\n"
                        "[{\"name\":\"a\",\"mtime\":1796668428},\n"
                        "{\"name\":\"f\",\"asize\":5,\"dsize\":4096,\"mtime\":1796668428},\n"
                        "[{\"name\":\"b\",\"mtime\":1796668428},\n"
                        "{\"name\":\"g\",\"asize\":3,\"dsize\":4096,\"mtime\":1796668428}]],\n"
                        "[{\"name\":\"lock\",\"mtime\":1796668428}\n"
                        "]]]"),
            "C: 0\n"
            "  a 5\n"
            "    b 3\n"
            "  lock 0\n");
}

TEST_F(SavedScanReaderTest, AnAmbrellFolderSizeIsItsFilesAndUnknownKeysAreSkipped) {
  EXPECT_EQ(
      ReadAndDump("\xEF\xBB\xBF [ 1 , 7 , {\"progname\" : \"ambrell\", \"x\": [{\"y\": [1, {}, []]}]} ,\r\n"
                  "\t[ {\"name\": \"/r\", \"asize\": 7, \"future\": {\"a\": [true, false, null, -1.5e3]}},"
                  " {\"name\": \"f\", \"asize\": 2, \"extra\": \"\\u0000\"},"
                  " [{\"name\": \"s\", \"asize\": 18446744073709551615}, {\"name\": \"g\", \"asize\": 1}]"
                  " ] ]\n"),
      "C: 9\n"
      "  s 18446744073709551615\n")
      << "sizes stop at the largest value rather than wrap";
}

TEST_F(SavedScanReaderTest, NamesComeOutByteForByte) {
  SavedScan scan;
  ASSERT_TRUE(
      Read("[1,2,{},[{\"name\":\"/r\"},[{\"name\":\"n\\u00e9 \\ud83d\\ude00 \\\"\\\\\\u001f\xff\"}]]]", scan))
      << error;
  scan.InsertInto(tree, folders, "C:", names);
  EXPECT_STREQ(tree.GetItemData(2)->name, "n\xc3\xa9 \xf0\x9f\x98\x80 \"\\\x1f\xff");
}

TEST_F(SavedScanReaderTest, WhatWeWriteReadsBackAsTheSameTree) {
  FolderStore scannedFolders;
  MemoryTree scanned;
  const auto add = [&](InsertedItem parent, const char* name, std::uint64_t size) {
    FolderRecord* record = scannedFolders.Add(name);
    record->ownFiles = size;
    return scanned.Insert(parent, name, record);
  };
  const InsertedItem c = add(kTopLevel, "C:", 4);
  const InsertedItem a = add(c, "a_b", 10);
  add(a, "deep\x01", 100);
  add(c, "locked", 0);
  scanned.GetItemData(4)->unreadable = true;
  AccumulateFolderSizes(scanned);
  const std::string before = DumpRecords(scanned);

  std::string text;
  WriteSavedScan(scanned, c, names, 0,
                 [&text](const char* bytes, std::size_t length) { text.append(bytes, length); });
  SavedScan scan;
  ASSERT_TRUE(Read(text, scan)) << error;
  scan.InsertInto(tree, folders, "C:", names);
  AccumulateFolderSizes(tree);
  EXPECT_EQ(DumpRecords(tree), before);
  EXPECT_EQ(MisplacedRecords(tree), "");
  EXPECT_EQ(scan.FolderCount(), 0u) << "the records now belong to the scan's folders";
  EXPECT_TRUE(tree.GetItemData(4)->unreadable);
}

TEST_F(SavedScanReaderTest, BadInputIsRefusedWithWhereAndWhat) {
  const std::string start = "[1,2,{},[{\"name\":\"/r\"}";
  const struct Case {
    std::string text;
    const char* error;
  } cases[] = {
      {"", "s.json:1:1: not a saved scan: ncdu's JSON export format begins with '['"},
      {"\x89PNG\r\n\x1a\n", "s.json:1:1: not a saved scan: ncdu's JSON export format begins with '['"},
      {"{\"a\": 1}", "s.json:1:1: not a saved scan: ncdu's JSON export format begins with '['"},
      {"[2,0,{},[{\"name\":\"/r\"}]]", "s.json:1:2: major version 2: only version 1 can be read"},
      {"[1.0,0,{},[{\"name\":\"/r\"}]]", "s.json:1:2: major version 1.0: only version 1 can be read"},
      {"[1,2,[],[{\"name\":\"/r\"}]]", "s.json:1:6: expected the metadata (an object)"},
      {"[1,2,{},[[{\"name\":\"/r\"}]]]",
       "s.json:1:10: expected the folder's name and size (an object), found an array"},
      {start + ",[[]]]]", "s.json:1:25: expected the folder's name and size (an object), found an array"},
      {start + ",\n[{\"name\":\"a\"}", "s.json:2:14: the file ends before the saved scan does"},
      {start + ",{\"name\":\"a", "s.json:1:34: the file ends inside a string"},
      {start + ",{\"name\":\"a\\u0000b\"}]]", "s.json:1:32: a name holds a NUL character"},
      {start + ",{\"name\":\"\"}]]", "s.json:1:32: an empty name"},
      {start + ",{\"name\":\"..\"}]]", "s.json:1:32: '..' is no file name"},
      {start + ",[{\"name\":\"a/b\"}]]]", "s.json:1:33: 'a/b' is no file name"},
      {start + ",{\"asize\":1}]]", "s.json:1:24: an entry without a name"},
      {start + ",{\"name\":\"f\",\"asize\":\"1\"}]]", "s.json:1:44: a size must be a whole number of bytes"},
      {start + ",{\"name\":\"f\",\"asize\":-1}]]", "s.json:1:44: a size must be a whole number of bytes"},
      {start + ",{\"name\":\"f\",\"asize\":18446744073709551616}]]",
       "s.json:1:44: a size larger than 18446744073709551615 bytes"},
      {start + ",{\"name\":\"f\",\"x\":[1,}]]", "s.json:1:43: expected a value"},
      {start + ",{\"name\":\"f\\x\"}]]", "s.json:1:34: unknown escape \\'x'"},
      {start + ",{\"name\":\"f\tg\"}]]",
       "s.json:1:34: a control character in a string must be written as an escape"},
      {start + "],[{\"name\":\"/s\"}]]", "s.json:1:24: a second folder tree: a saved scan holds one"},
      {start + "]] x", "s.json:1:26: unexpected 'x'"},
      {start + "]]]", "s.json:1:25: unexpected data after the saved scan"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadError(c.text), c.error) << c.text;
}

// As deep as a scan goes, and deeper than the call stack would allow.
TEST_F(SavedScanReaderTest, AnyDepthIsReadWithoutRecursion) {
  constexpr int kDepth = 100000;
  std::string deep = "[1,2,{},";
  for (int i = 0; i < kDepth; ++i) deep += "[{\"name\":\"d\",\"x\":[[[{}]]]},";
  deep += "{\"name\":\"f\",\"asize\":1}";
  deep.append(kDepth + 1, ']');
  SavedScan scan;
  ASSERT_TRUE(Read(deep, scan)) << error;
  EXPECT_EQ(scan.FolderCount(), static_cast<std::size_t>(kDepth));
  EXPECT_EQ(scan.SizeOf(kDepth - 1), 1u);

  std::string skipped = "[1,2,{\"x\":";
  skipped.append(kDepth, '[');
  EXPECT_EQ(ReadError(skipped), "s.json:1:100011: the file ends before the saved scan does");
}

TEST_F(SavedScanReaderTest, NamesLongerThanAnyFileSystemAllowsAreRefused) {
  const std::string start = "[1,2,{},[{\"name\":\"/" + std::string(5000, 'r') + "\"},";
  const std::string longest(4096, 'n');
  SavedScan scan;
  ASSERT_TRUE(Read(start + "[{\"name\":\"" + longest + "\"}]]]", scan)) << error;
  EXPECT_EQ(scan.FolderCount(), 2u);
  EXPECT_EQ(ReadError(start + "{\"name\":\"" + longest + "n\"}]]"),
            "s.json:1:5031: a name longer than 4096 bytes");
}

TEST_F(SavedScanReaderTest, AFailedReadLeavesTheScanAsItWas) {
  SavedScan scan;
  ASSERT_TRUE(Read("[1,2,{},[{\"name\":\"/kept\"},[{\"name\":\"a\"}]]]", scan)) << error;
  EXPECT_FALSE(Read("[1,2,{},[{\"name\":\"/new\"},[{\"name\":\"b\"}]", scan));
  EXPECT_EQ(scan.RootName(), "/kept");
  EXPECT_EQ(scan.FolderCount(), 2u);
}

}  // namespace
