#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/posix/FileBrowser.h"
#include "tests/platform/posix/TempTree.h"

namespace {

// A stand-in opener that writes each argument it gets on a line of its own.
std::string MakeFakeOpener(const TempTree& folder) {
  const std::string opener = folder.Path() + "/fake-opener";
  std::ofstream(opener) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args.tmp\"\n"
                           "mv \"$0.args.tmp\" \"$0.args\"\n";
  ::chmod(opener.c_str(), 0755);
  return opener;
}

std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 1000; ++i) {
    std::ifstream file(path);
    if (file) {
      std::stringstream text;
      text << file.rdbuf();
      return text.str();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "(never written)";
}

TEST(FileBrowser, HandsThePathAsOneArgumentWithoutAShell) {
  TempTree folder;
  const std::string opener = MakeFakeOpener(folder);
  const std::string path = "/tmp/a folder/with 'quotes' $HOME; and \"more\"";
  ASSERT_TRUE(OpenInFileBrowser(path, opener.c_str()));
  EXPECT_EQ(WaitForFile(opener + ".args"), path + "\n");
}

TEST(FileBrowser, APathLikeAnOptionStaysAPath) {
  TempTree folder;
  const std::string opener = MakeFakeOpener(folder);
  ASSERT_TRUE(OpenInFileBrowser("-h", opener.c_str()));
  EXPECT_EQ(WaitForFile(opener + ".args"), "./-h\n");
}

TEST(FileBrowser, FailsWhenTheOpenerCannotStart) {
  EXPECT_FALSE(OpenInFileBrowser("/tmp", "ambrell-no-such-opener"));
  EXPECT_FALSE(OpenInFileBrowser("", "true"));
}

}  // namespace
