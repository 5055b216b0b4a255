#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/SizeLabels.h"
#include "text/NameQuoting.h"
#include "tools/ambrell-scan/QuotedDisplayText.h"
#include "tools/ambrell-scan/TreePrinter.h"

namespace {

// What a reader of the report does to get a name back: the quoted form
// decoded, any other taken as it is.
std::string Unquote(const std::string& printed) {
  if (printed.empty() || printed[0] != '"') return printed;
  std::string name;
  for (std::size_t i = 1; i + 1 < printed.size(); ++i) {
    if (printed[i] != '\\') {
      name += printed[i];
      continue;
    }
    const char escape = printed[++i];
    if (escape == 'x') {
      name += static_cast<char>(std::stoi(printed.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      name += escape == 'n' ? '\n' : escape == 'r' ? '\r' : escape == 't' ? '\t' : escape;
    }
  }
  return name;
}

bool IsSafeForATerminal(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || byte >= 0x80) return false;
  }
  return true;
}

const std::vector<std::string> kHostileNames = {
    "a    (0 MB)\n  evil    (999 MB)\n  b",
    "esc\x1b[31mX",
    "cr\rover",
    "tab\there",
    "x    (5 MB)",
    "  indented",
    "\"quoted\"",
    "\xff\xfe not UTF-8",
    "\xc0\xaf overlong slash",
    "\xed\xa0\x80 surrogate",
    "cut \xe2\x82",
    "\xc2\x9b C1 escape",
    "line\xe2\x80\xa8separator",
    "right-to-left \xe2\x80\xae override",
    "del\x7f",
};

TEST(NameQuotingTest, OrdinaryNamesPrintAsTheyAre) {
  for (const char* name : {"docs", "a:b", "back\\slash", "C:\\Data", "q\"uote", "x (5 MB)", "trailing ",
                           "\xc3\xbcn\xc3\xaf", "\xe6\x97\xa5\xe6\x9c\xac", "\xf0\x9f\x98\x80", "/home"}) {
    EXPECT_FALSE(NeedsQuoting(name)) << name;
    EXPECT_EQ(QuoteName(name), name);
  }
}

TEST(NameQuotingTest, HostileNamesAreQuotedSafeAndReadBack) {
  for (const std::string& name : kHostileNames) {
    const std::string quoted = QuoteName(name);
    EXPECT_TRUE(NeedsQuoting(name)) << quoted;
    EXPECT_EQ(quoted.front(), '"');
    EXPECT_EQ(quoted.back(), '"');
    EXPECT_EQ(Unquote(quoted), name) << quoted;
    EXPECT_EQ(quoted.find("    ("), std::string::npos) << "could pass for a size: " << quoted;
    if (name.find("right-to-left") == std::string::npos && name.find("separator") == std::string::npos) {
      EXPECT_TRUE(IsSafeForATerminal(quoted)) << quoted;
    }
  }
  EXPECT_EQ(QuoteName("a\nb"), "\"a\\nb\"");
  EXPECT_EQ(QuoteName("esc\x1b[31mX"), "\"esc\\x1b[31mX\"");
  EXPECT_EQ(QuoteName("\"x\\"), "\"\\\"x\\\\\"");
  EXPECT_EQ(QuoteName("\xe2\x80\xae"), "\"\\xe2\\x80\\xae\"");
  EXPECT_EQ(QuoteName("\xff"), "\"\\xff\"");
}

TEST(NameQuotingTest, MessagesKeepTheirTextButNotItsControlCharacters) {
  EXPECT_EQ(EscapeForTerminal("/data/x\x1b[2J: No such file"), "/data/x\\x1b[2J: No such file");
  EXPECT_EQ(EscapeForTerminal("C:\\Data \"a\"\r\n"), "C:\\Data \"a\"\\r\\n");
  EXPECT_EQ(EscapeForTerminal("\xc3\xbc\xff"), "\xc3\xbc\\xff");
}

// A reader splits the report into lines and each line into its indent, its
// name and its size: every folder must come back, apart from every other.
TEST(NameQuotingTest, EveryFolderOfTheReportCanBeToldApart) {
  FolderStore folders;
  MemoryTree tree;
  const InsertedItem drive = tree.Insert(kTopLevel, "C:", folders.Add("C:"));
  std::vector<std::string> names = kHostileNames;
  // Ordinary names that look like the quoted form or its escapes.
  for (const char* name : {"a", "b", "back\\slash and \\x41 and \\n", "a\"    (x", "\\\"x\""})
    names.push_back(name);
  for (const std::string& name : names) tree.Insert(drive, name.c_str(), folders.Add(name.c_str()));
  FixedNumberLocale plain(0, "");
  PlainDisplayText shown;
  const QuotedDisplayText quoted(shown);
  UpdateAllLabels(LabelContext{tree, kDefaultUnit, plain, quoted});
  std::string report;
  PrintTree(tree, -1, FolderOrder::Listed,
            [&report](const char* text, std::size_t length) { report.append(text, length); });

  std::istringstream lines(report);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "C:    (0 MB)");
  std::set<std::string> readBack;
  while (std::getline(lines, line)) {
    ASSERT_EQ(line.compare(0, 2, "  "), 0) << line;
    ASSERT_NE(line[2], ' ') << "indent of another level: " << line;
    const std::size_t size = line.find("    (");
    ASSERT_EQ(line.substr(size), "    (0 MB)") << line;
    readBack.insert(Unquote(line.substr(2, size - 2)));
  }
  EXPECT_EQ(readBack, std::set<std::string>(names.begin(), names.end()));
}

}  // namespace
