#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "scan/FolderRecord.h"
#include "scan/MemoryTree.h"
#include "scan/SizeLabels.h"
#include "tests/support/BuiltTree.h"
#include "tools/ambrell-scan/ReportOptions.h"
#include "tools/ambrell-scan/TreePrinter.h"

namespace {

TEST(ReportOptionsTest, AcceptsUnitsDepthAndFolders) {
  struct Case {
    std::vector<std::string> arguments;
    int unit;
    int depth;
    std::vector<std::string> folders;
    unsigned threads = 0;
    FolderOrder order = FolderOrder::Listed;
  };
  const Case cases[] = {
      {{}, kDefaultUnit, -1, {}},
      {{"--unit", "bytes", "/data"}, 0, -1, {"/data"}},
      {{"--unit=KB", "--depth", "0"}, 1, 0, {}},
      {{"a", "--depth=3", "b", "--unit", "gb"}, 3, 3, {"a", "b"}},
      {{"--", "--unit", "-x"}, kDefaultUnit, -1, {"--unit", "-x"}},
      {{"--threads", "16", "a"}, kDefaultUnit, -1, {"a"}, 16},
      {{"--threads=1"}, kDefaultUnit, -1, {}, 1},
      {{"--sort", "size", "a"}, kDefaultUnit, -1, {"a"}, 0, FolderOrder::LargestFirst},
      {{"--sort=size"}, kDefaultUnit, -1, {}, 0, FolderOrder::LargestFirst},
      {{"--sort", "change", "--compare", "old.json"}, kDefaultUnit, -1, {}, 0, FolderOrder::ByChange},
      {{"--compare=old.json", "--sort=change", "a"}, kDefaultUnit, -1, {"a"}, 0, FolderOrder::ByChange},
  };
  for (const Case& c : cases) {
    ReportOptions options;
    std::string error;
    ASSERT_TRUE(ParseReportOptions(c.arguments, options, error)) << error;
    EXPECT_EQ(options.unit, c.unit);
    EXPECT_EQ(options.maxDepth, c.depth);
    EXPECT_EQ(options.folders, c.folders);
    EXPECT_EQ(options.threads, c.threads);
    EXPECT_EQ(options.order, c.order);
  }
}

TEST(ReportOptionsTest, RejectsBadOptionsWithAMessage) {
  const std::vector<std::vector<std::string>> cases = {
      {"--unit"},         {"--unit", "tb"},   {"--depth", "-1"},  {"--depth", "x"},
      {"--depth="},       {"--frobnicate"},   {"--threads", "0"}, {"--threads", "65"},
      {"--threads", "x"}, {"--threads="},     {"--threads"},      {"--sort"},
      {"--sort", "name"}, {"--sort", "Size"}, {"--compare"},      {"--compare="},
  };
  for (const auto& arguments : cases) {
    ReportOptions options;
    std::string error;
    EXPECT_FALSE(ParseReportOptions(arguments, options, error)) << arguments[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(ReportOptionsTest, ImportReadsEveryOperandAsASavedScanAndExportTakesAFile) {
  ReportOptions options;
  std::string error;
  ASSERT_TRUE(ParseReportOptions({"--import", "a.json", "--unit", "kb", "b.json", "--export", "-x.json"},
                                 options, error))
      << error;
  EXPECT_TRUE(options.importSaved);
  EXPECT_EQ(options.folders, (std::vector<std::string>{"a.json", "b.json"}));
  EXPECT_EQ(options.exportFile, "-x.json");

  ReportOptions inline_;
  ASSERT_TRUE(ParseReportOptions({"--import=a.json", "--export=-"}, inline_, error)) << error;
  EXPECT_TRUE(inline_.importSaved);
  EXPECT_EQ(inline_.folders, std::vector<std::string>{"a.json"});
  EXPECT_EQ(inline_.exportFile, "-");

  ReportOptions plain;
  ASSERT_TRUE(ParseReportOptions({"/data"}, plain, error));
  EXPECT_FALSE(plain.importSaved);
  EXPECT_EQ(plain.exportFile, "") << "nothing is saved unless asked";
}

TEST(ReportOptionsTest, ComparesWithASavedScanAndDrawsProgressAsAsked) {
  ReportOptions options;
  std::string error;
  ASSERT_TRUE(ParseReportOptions({"--import", "new.json", "--compare", "-"}, options, error)) << error;
  EXPECT_EQ(options.compareFile, "-");
  EXPECT_EQ(options.folders, std::vector<std::string>{"new.json"}) << "the saved scan is no operand";
  EXPECT_EQ(options.progress, ProgressMode::WhenTerminal);

  ReportOptions forced;
  ASSERT_TRUE(ParseReportOptions({"--no-progress", "--progress"}, forced, error)) << error;
  EXPECT_EQ(forced.progress, ProgressMode::Always) << "the last one given holds";
  ReportOptions off;
  ASSERT_TRUE(ParseReportOptions({"--progress", "--no-progress"}, off, error)) << error;
  EXPECT_EQ(off.progress, ProgressMode::Never);
}

TEST(ReportOptionsTest, RefusesSavedScanOptionsThatCannotWork) {
  const std::vector<std::vector<std::string>> cases = {
      {"--export"},
      {"--export="},
      {"--import"},
      {"--import", "--unit", "kb"},
      {"--export", "-", "a", "b"},
      {"--sort", "change"},  // nothing to compare with
      {"--sort=change", "--import", "a.json"},
      {"--compare", "old.json", "--largest", "5"},
      {"--import", "-", "--compare", "-"},  // standard input holds one file
  };
  for (const auto& arguments : cases) {
    ReportOptions options;
    std::string error;
    EXPECT_FALSE(ParseReportOptions(arguments, options, error)) << arguments.back();
    EXPECT_FALSE(error.empty());
  }
}

// As Debian's command-line tools answer: on standard output, in place of a
// report, whatever else is on the line.
TEST(ReportOptionsTest, VersionAndHelpAnswerInsteadOfAReport) {
  const std::regex versionLine("ambrell-scan [0-9]+\\.[0-9]+\n");
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--version"},
                                                    {"/data", "--version", "--unit", "kb"},
                                                    {"--import", "--version"}}) {
    ReportOptions options;
    std::string error;
    ASSERT_TRUE(ParseReportOptions(arguments, options, error)) << error;
    EXPECT_TRUE(options.showVersion);
    EXPECT_TRUE(std::regex_match(RequestedInformation(options), versionLine))
        << RequestedInformation(options);
  }

  ReportOptions both;
  std::string error;
  ASSERT_TRUE(ParseReportOptions({"--version", "--help"}, both, error));
  EXPECT_EQ(RequestedInformation(both), kReportUsage);

  ReportOptions folder;
  ASSERT_TRUE(ParseReportOptions({"--", "--version"}, folder, error));
  EXPECT_FALSE(folder.showVersion);
  EXPECT_EQ(folder.folders, std::vector<std::string>{"--version"});
}

class TreePrinterTest : public ::testing::Test {
 protected:
  TreePrinterTest() {
    const InsertedItem c = Add(kTopLevel, "C:");
    const InsertedItem a = Add(c, "a");
    Add(Add(a, "a1"), "a11");
    Add(c, "b");
    Add(kTopLevel, "D:");
  }
  InsertedItem Add(InsertedItem parent, const char* name, std::uint64_t size = 0) {
    return folders.Add(parent, name, size);
  }

  std::string Print(int depth, FolderOrder order = FolderOrder::Listed) {
    std::string text;
    PrintTree(folders.tree, depth, order,
              [&text](const char* chunk, std::size_t length) { text.append(chunk, length); });
    return text;
  }

  BuiltTree folders;
};

TEST_F(TreePrinterTest, PrintsInTreeOrderIndentedByLevel) {
  EXPECT_EQ(Print(-1), "C:\n  a\n    a1\n      a11\n  b\nD:\n");
}

TEST_F(TreePrinterTest, DepthLimitCutsDeeperLevelsOnly) {
  EXPECT_EQ(Print(0), "C:\nD:\n");
  EXPECT_EQ(Print(1), "C:\n  a\n  b\nD:\n");
  EXPECT_EQ(Print(1, FolderOrder::LargestFirst), "C:\n  a\n  b\nD:\n");
}

// Each folder's subfolders by total, equal totals as listed, at every level;
// drives as they are, however large.
TEST(TreePrinterOrderTest, LargestFirstOrdersEveryFolderButTheDrives) {
  BuiltTree built;
  const InsertedItem c = built.Add(kTopLevel, "C:");
  built.Add(c, "five", 5);
  const InsertedItem nine = built.Add(c, "nine", 9);
  built.Add(c, "five too", 5);
  built.Add(nine, "one", 1);
  built.Add(nine, "two", 2);
  built.Add(c, "nine too", 9);
  built.Add(built.Add(kTopLevel, "D:"), "big", 100);
  AccumulateFolderSizes(built.tree);
  std::string text;
  PrintTree(built.tree, -1, FolderOrder::LargestFirst,
            [&text](const char* chunk, std::size_t length) { text.append(chunk, length); });
  EXPECT_EQ(text, "C:\n  nine\n    two\n    one\n  nine too\n  five\n  five too\nD:\n  big\n");
}

}  // namespace
