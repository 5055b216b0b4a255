#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/posix/DescriptorLimit.h"
#include "platform/posix/DetachedProgram.h"
#include "platform/posix/FileBrowser.h"
#include "tests/platform/posix/TempTree.h"

namespace {

// A stand-in opener that writes each argument it gets on a line of its own,
// or what `report` prints.
std::string MakeFakeOpener(const TempTree& folder,
                           const char* report = "for a in \"$@\"; do printf '%s\\n' \"$a\"; done") {
  const std::string opener = folder.Path() + "/fake-opener";
  std::ofstream(opener) << "#!/bin/sh\n" << report << " > \"$0.args.tmp\"\nmv \"$0.args.tmp\" \"$0.args\"\n";
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

// The scan raises the soft limit on descriptors for itself alone. The limit
// is raised once a process: ctest runs each test in a process of its own.
TEST(FileBrowser, TheOpenerGetsTheDescriptorLimitThisProcessStartedWith) {
  rlimit limit;
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < 1024) GTEST_SKIP() << "hard limit below 1,024";
  limit.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
  RaiseDescriptorLimit();
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  const rlim_t wanted = limit.rlim_max == RLIM_INFINITY
                            ? kWantedDescriptors
                            : std::min<rlim_t>(limit.rlim_max, kWantedDescriptors);
  EXPECT_EQ(limit.rlim_cur, wanted);

  TempTree folder;
  // Read the moment it runs: the limit must be in place before, not after.
  const std::string opener = MakeFakeOpener(folder, "ulimit -n");
  ASSERT_TRUE(OpenInFileBrowser("/tmp", opener.c_str()));
  EXPECT_EQ(WaitForFile(opener + ".args"), "1000\n");
}

TEST(FileBrowser, FindsTheOpenerOnPath) {
  TempTree folder;
  MakeFakeOpener(folder);
  const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  ASSERT_EQ(::setenv("PATH", ("/ambrell-no-such-folder:" + folder.Path() + ":" + path).c_str(), 1), 0);
  EXPECT_EQ(FindProgram("fake-opener"), folder.Path() + "/fake-opener");
  ASSERT_TRUE(OpenInFileBrowser("/tmp", "fake-opener"));
  EXPECT_EQ(WaitForFile(folder.Path() + "/fake-opener.args"), "/tmp\n");
}

// Each is refused before the program could run: the caller shows nothing.
TEST(FileBrowser, FailsWhenTheOpenerCannotStart) {
  TempTree folder;
  const std::string notExecutable = folder.Path() + "/not-executable";
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  const std::string notAProgram = folder.Path() + "/not-a-program";
  std::ofstream(notAProgram) << "neither a script nor a binary, which only a shell would run\n";
  ::chmod(notAProgram.c_str(), 0755);

  EXPECT_FALSE(OpenInFileBrowser("/tmp", "ambrell-no-such-opener"));
  EXPECT_FALSE(OpenInFileBrowser("/tmp", notExecutable.c_str()));
  EXPECT_FALSE(OpenInFileBrowser("/tmp", notAProgram.c_str()));
  EXPECT_FALSE(OpenInFileBrowser("/tmp", folder.Path().c_str()));
  EXPECT_FALSE(OpenInFileBrowser("", "true"));
}

}  // namespace
