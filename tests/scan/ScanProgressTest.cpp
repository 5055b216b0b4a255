#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "scan/MemoryTree.h"
#include "scan/ReadAheadFileSystem.h"
#include "scan/ScanEngine.h"
#include "scan/SizeLabels.h"
#include "tests/support/MemoryFileSystem.h"

namespace {

// Looks at the progress each time the walk opens a folder: mid-scan, at
// every folder, with no timing involved.
class WatchedFileSystem : public FileSystem {
 public:
  using Look = std::function<void(const char* pattern)>;
  WatchedFileSystem(FileSystem& inner, Look look) : m_inner(inner), m_look(std::move(look)) {}
  std::uint32_t GetLogicalDrives() override { return m_inner.GetLogicalDrives(); }
  bool IsFixedDrive(const char* rootText) override { return m_inner.IsFixedDrive(rootText); }
  bool GetUsedBytes(const char* rootText, std::uint64_t& used) override {
    return m_inner.GetUsedBytes(rootText, used);
  }
  ListingResult OpenListing(const char* pattern) override {
    m_look(pattern);
    return m_inner.OpenListing(pattern);
  }
  std::size_t ListingsAhead(const char* rootText) const override { return m_inner.ListingsAhead(rootText); }
  void ExpectListing(const char* pattern) override { m_inner.ExpectListing(pattern); }
  void ForgetExpected() override { m_inner.ForgetExpected(); }

 private:
  FileSystem& m_inner;
  Look m_look;
};

// Two fixed drives and one that is not; the files hold 8,000,000 bytes on the
// fixed drives, hard links counted twice, say, where the disks use less.
void BuildMachine(MemoryFileSystem& machine) {
  machine.AddDrive('A', false);
  machine.AddFile("A:\\elsewhere", 1 << 30);
  machine.AddDrive('C');
  machine.AddDrive('D');
  for (int i = 0; i < 40; ++i) {
    const std::string drive = i % 2 == 0 ? "C:" : "D:";
    const std::string folder =
        drive + (i % 3 == 0 ? "" : "\\" + std::string(i % 3, 'd')) + "\\f" + std::to_string(i);
    for (int file = 0; file < 10; ++file) machine.AddFile(folder + "\\x" + std::to_string(file), 20000);
  }
}

constexpr std::uint64_t kBytesOnFixedDrives = 8000000;

class ScanProgressTest : public ::testing::TestWithParam<unsigned> {
 protected:
  // Scans, listing ahead on the threads the test asks for, and looks at the
  // progress at every folder opened.
  ScanSummary Scan(MemoryFileSystem* machine, const WatchedFileSystem::Look& look) {
    ReadAheadFileSystem listedAhead(std::unique_ptr<FileSystem>(machine),
                                    [threads = GetParam()](char) { return threads; });
    WatchedFileSystem watched(listedAhead, look);
    ScanJob job{watched, folders, tree};
    job.progress = &progress;
    ScanThreadProc(&job);
    return job.summary;
  }

  ScanProgress progress;
  FolderStore folders;
  MemoryTree tree;
};

TEST_P(ScanProgressTest, TheShareStaysBelowAHundredPercentUntilTheScanEnds) {
  for (const std::uint64_t used : {kBytesOnFixedDrives / 2, kBytesOnFixedDrives, kBytesOnFixedDrives * 2}) {
    SCOPED_TRACE(used);
    auto* machine = new MemoryFileSystem;
    BuildMachine(*machine);
    machine->SetUsedBytes('A', 1 << 30);  // not fixed: never walked, never counted
    machine->SetUsedBytes('C', used / 4);
    machine->SetUsedBytes('D', used - used / 4);
    ProgressFigures last;
    int looks = 0;
    const ScanSummary summary = Scan(machine, [&](const char*) {
      const ProgressFigures now = progress.Read();
      double share = 0;
      ASSERT_TRUE(ShareOf(now, share));
      EXPECT_LE(share, ScanProgress::kMostShareWhileRunning);
      EXPECT_FALSE(now.finished);
      EXPECT_EQ(now.usedBytes, used);
      EXPECT_GE(now.folders, last.folders);
      EXPECT_GE(now.bytes, last.bytes);
      last = now;
      ++looks;
    });
    const ProgressFigures end = progress.Read();
    EXPECT_GT(looks, 40);
    EXPECT_TRUE(end.finished);
    EXPECT_EQ(end.folders, summary.folders);
    EXPECT_EQ(end.bytes, kBytesOnFixedDrives);
    double share = 0;
    ASSERT_TRUE(ShareOf(end, share));
    EXPECT_EQ(share, 1.0);
    EXPECT_EQ(progress.CurrentFolder(), nullptr);
  }
}

TEST_P(ScanProgressTest, ADriveOfUnknownUseLeavesTheScanWithoutAShare) {
  auto* machine = new MemoryFileSystem;
  BuildMachine(*machine);
  machine->SetUsedBytes('C', 1000);  // D: says nothing
  Scan(machine, [&](const char*) {
    double share = 0;
    EXPECT_FALSE(ShareOf(progress.Read(), share));
  });
  double share = 0;
  EXPECT_FALSE(ShareOf(progress.Read(), share)) << "nor once it has ended";
  EXPECT_EQ(progress.Read().bytes, kBytesOnFixedDrives);
}

// The folder being listed can be shown from its record: its name and its parents'.
TEST_P(ScanProgressTest, TheCurrentFolderIsTheOneBeingListed) {
  auto* machine = new MemoryFileSystem;
  BuildMachine(*machine);
  Scan(machine, [&](const char* pattern) {
    std::string path;
    for (const FolderRecord* folder = progress.CurrentFolder(); folder != nullptr; folder = folder->parent)
      path = std::string(folder->name) + (path.empty() ? "" : "\\") + path;
    EXPECT_EQ(path + "\\*", pattern);
  });
}

// What a terminal line or a taskbar reads, on a thread of its own while the
// walk writes (the thread sanitizer's build is the judge).
TEST_P(ScanProgressTest, AnotherThreadReadsTheFiguresAndTheFoldersPathWhileTheWalkRuns) {
  auto* machine = new MemoryFileSystem;
  BuildMachine(*machine);
  std::atomic<bool> done{false};
  std::size_t longest = 0;
  std::thread reader([&] {
    while (!done.load()) {
      std::size_t length = 0;
      for (const FolderRecord* folder = progress.CurrentFolder(); folder != nullptr; folder = folder->parent)
        length += std::strlen(folder->name) + 1;
      longest = std::max(longest, length);
      progress.Read();
    }
  });
  Scan(machine, [](const char*) { std::this_thread::yield(); });
  done = true;
  reader.join();
  EXPECT_LE(longest, std::string("C:\\dd\\f38\\").size());
}

INSTANTIATE_TEST_SUITE_P(Threads, ScanProgressTest, ::testing::Values(1u, 4u));

TEST(ScanProgressShareTest, IsHeldAtTheMostWhileRunningAndWholeOnlyAtTheEnd) {
  ProgressFigures figures;
  double share = 0;
  EXPECT_FALSE(ShareOf(figures, share)) << "no used space known";
  figures.usedBytes = 1000;
  figures.bytes = 250;
  ASSERT_TRUE(ShareOf(figures, share));
  EXPECT_DOUBLE_EQ(share, 0.25);
  figures.bytes = 5000;
  ASSERT_TRUE(ShareOf(figures, share));
  EXPECT_DOUBLE_EQ(share, ScanProgress::kMostShareWhileRunning);
  figures.bytes = 10;
  figures.finished = true;
  ASSERT_TRUE(ShareOf(figures, share));
  EXPECT_DOUBLE_EQ(share, 1.0) << "a scan that has ended has come all the way";
}

}  // namespace
