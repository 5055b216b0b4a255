// Reading ahead must leave the walk's result exactly as it was: the same
// insertions in the same order with the same sizes, whatever the tree, the
// number of threads or the timing; and it must stop and let go of every
// thread and listing when the walk ends or is aborted.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ReadAheadFileSystem.h"
#include "scan/ScanEngine.h"
#include "tests/support/AdversarialTrees.h"
#include "tests/support/Eventually.h"
#include "tests/support/Gate.h"
#include "tests/support/MemoryFileSystem.h"

namespace {

struct Outcome {
  std::string insertions;  // one a line, in the order made: parent, text, size
  ScanSummary summary;
};

// Into `held` when given, else a tree of its own.
Outcome Scan(FileSystem& fs, MemoryTree* held = nullptr, AbortSignal* abort = nullptr) {
  FolderStore folders;
  MemoryTree own;
  MemoryTree& tree = held != nullptr ? *held : own;
  ScanJob job{fs, folders, tree, abort};
  ScanThreadProc(&job);
  std::ostringstream text;
  for (TreeItem item = 1; item <= tree.GetCount(); ++item) {
    text << tree.GetParentItem(item) << ' ' << tree.GetItemText(item) << ' ' << tree.GetItemData(item)->size
         << '\n';
  }
  return Outcome{text.str(), job.summary};
}

// The first line where two outcomes part, rather than megabytes of both.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream left(expected);
  std::istringstream right(actual);
  std::string a;
  std::string b;
  for (int line = 1;; ++line) {
    const bool moreLeft = static_cast<bool>(std::getline(left, a));
    const bool moreRight = static_cast<bool>(std::getline(right, b));
    if (!moreLeft && !moreRight) return std::string();
    if (a != b || moreLeft != moreRight)
      return "line " + std::to_string(line) + ": '" + a + "' / '" + b + "'";
  }
}

void ExpectSame(const Outcome& expected, const Outcome& actual, const std::string& what) {
  EXPECT_EQ(FirstDifference(expected.insertions, actual.insertions), "") << what;
  EXPECT_EQ(actual.summary.folders, expected.summary.folders) << what;
  EXPECT_EQ(actual.summary.unreadableFolders, expected.summary.unreadableFolders) << what;
  EXPECT_EQ(actual.summary.aborted, expected.summary.aborted) << what;
  EXPECT_EQ(actual.summary.outOfMemory, expected.summary.outOfMemory) << what;
}

struct ReadingAhead {
  explicit ReadingAhead(unsigned threads) {
    auto inner = std::make_unique<MemoryFileSystem>();
    memory = inner.get();
    fs = std::make_unique<ReadAheadFileSystem>(std::move(inner), [threads](char) { return threads; });
  }
  MemoryFileSystem* memory;
  std::unique_ptr<ReadAheadFileSystem> fs;
};

// Holds the walk as it inserts the item of the given text; `later` can
// hold it at a second item, armed before the first is released.
class HeldTree : public MemoryTree {
 public:
  InsertedItem Insert(InsertedItem parent, const char* text, FolderRecord* record) override {
    gate.Pass(text);
    later.Pass(text);
    return MemoryTree::Insert(parent, text, record);
  }
  Gate gate;
  Gate later;
};

TEST(ReadAheadFileSystem, GivesTheWalkTheSameInsertionsOnEveryAdversarialTree) {
  for (const AdversarialTree& tree : AdversarialTrees()) {
    MemoryFileSystem serial;
    tree.build(serial);
    const Outcome expected = Scan(serial);
    for (unsigned threads : {1u, 2u, 4u, 16u}) {
      ReadingAhead ahead(threads);
      tree.build(*ahead.memory);
      ExpectSame(expected, Scan(*ahead.fs), tree.name + " with " + std::to_string(threads) + " threads");
      EXPECT_EQ(ahead.fs->RunningThreads(), 0u);
      EXPECT_EQ(ahead.memory->OpenListings(), 0);
    }
  }
}

// Listings that fail for want of descriptors are listed again once those
// held ahead are given back: nothing is lost, even with room for one.
TEST(ReadAheadFileSystem, RunningShortOfHandlesLosesNothing) {
  for (const AdversarialTree& tree : AdversarialTrees()) {
    MemoryFileSystem serial;
    tree.build(serial);
    const Outcome expected = Scan(serial);
    for (int most : {1, 2, 5}) {
      ReadingAhead ahead(16);
      tree.build(*ahead.memory);
      ahead.memory->LimitOpenListings(most);
      ExpectSame(expected, Scan(*ahead.fs), tree.name + " with " + std::to_string(most) + " open at most");
      EXPECT_EQ(ahead.memory->OpenListings(), 0);
    }
  }
}

// The platform lowers the priority of the listing threads, never the walk's.
TEST(ReadAheadFileSystem, EveryListingThreadAndOnlyThoseStartsWithTheHook) {
  auto inner = std::make_unique<MemoryFileSystem>();
  inner->AddDrive('C');
  for (int i = 0; i < 20; ++i) inner->AddFile("C:\\f" + std::to_string(i) + "\\x", 1);
  std::mutex mutex;
  std::multiset<std::thread::id> started;
  ReadAheadFileSystem fs(
      std::move(inner), [](char) { return 3u; },
      [&] {
        std::lock_guard<std::mutex> lock(mutex);
        started.insert(std::this_thread::get_id());
      });
  EXPECT_EQ(Scan(fs).summary.folders, 21u);
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(started.size(), 3u);
  EXPECT_EQ(std::set<std::thread::id>(started.begin(), started.end()).size(), 3u);
  EXPECT_EQ(started.count(std::this_thread::get_id()), 0u);
}

TEST(ReadAheadFileSystem, ThreadsListWhatTheWalkNamedBeforeItAsks) {
  ReadingAhead ahead(2);
  ahead.memory->AddDrive('C');
  ahead.memory->AddFile("C:\\a\\f", 1);
  ahead.memory->AddFile("C:\\b\\f", 2);
  ahead.memory->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\b"));
  HeldTree tree;
  tree.gate.Arm("a");
  std::thread walk([&] { Scan(*ahead.fs, &tree); });
  tree.gate.WaitUntilHeld();
  // The walk waits to insert 'a', so only a thread of the pool can open 'b'.
  ahead.memory->GetGate().WaitUntilHeld();
  ahead.memory->GetGate().Release();
  tree.gate.Release();
  walk.join();
}

// The walk takes a folder the threads have finished at once, even while a
// folder after it is still being listed: it waits only for what it needs.
TEST(ReadAheadFileSystem, AFinishedFolderIsTakenWhileALaterOneIsStillBeingListed) {
  ReadingAhead ahead(2);
  ahead.memory->AddDrive('C');
  for (const char* folder : {"a", "b", "c", "d"})
    ahead.memory->AddFile(std::string("C:\\") + folder + "\\f", 1);
  // While the walk is held before 'a', which it lists itself, the two
  // threads take 'b', 'c' and 'd': one is held in the middle of 'c', the
  // other lists 'b' and then opens 'd'.
  ahead.memory->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\c", "f"));
  HeldTree tree;
  tree.gate.Arm("a");
  tree.later.Arm("c");  // reached once the walk has taken 'b'
  std::thread walk([&] { Scan(*ahead.fs, &tree); });
  tree.gate.WaitUntilHeld();
  ahead.memory->GetGate().WaitUntilHeld();
  const int rootBCD = 4;  // 'd' is opened only once 'b' is handed over
  EXPECT_TRUE(Eventually([&] { return ahead.memory->OpenCount() >= rootBCD; }));
  tree.gate.Release();
  EXPECT_TRUE(Eventually([&] { return tree.later.IsHeld(); })) << "the walk waited for 'c' to take 'b'";
  ahead.memory->GetGate().Release();
  tree.later.Release();
  walk.join();
}

// Folders the walk named while the threads were busy reach them before the
// walk sleeps: a thread with nothing to do does not wait for the walk while
// the walk waits for the other thread.
TEST(ReadAheadFileSystem, TheWalkHandsOverWhatItNamedBeforeItWaits) {
  ReadingAhead ahead(2);
  ahead.memory->AddDrive('C');
  const int kFolders = 30;
  auto name = [](char prefix, int n) { return std::string(1, prefix) + std::to_string(100 + n); };
  for (int i = 0; i < kFolders; ++i) {
    ahead.memory->AddFile("C:\\" + name('f', i) + "\\file", 1);
    ahead.memory->AddFile("C:\\f100\\" + name('g', i) + "\\file", 1);
  }
  // One thread is held opening 'f101' while the walk is held before 'f100',
  // which it lists itself, naming the 'g' folders in it as it goes.
  ahead.memory->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\f101"));
  HeldTree tree;
  tree.gate.Arm("f100");
  std::thread walk([&] { Scan(*ahead.fs, &tree); });
  tree.gate.WaitUntilHeld();
  ahead.memory->GetGate().WaitUntilHeld();
  tree.gate.Release();
  // The walk now waits for 'f101'; the other thread lists everything else
  // but, when it came too late to take it before, the walk's next, 'f102'.
  const int everyFolder = 1 + 2 * kFolders;
  EXPECT_TRUE(Eventually([&] { return ahead.memory->OpenCount() >= everyFolder - 1; }))
      << ahead.memory->OpenCount() << " of " << everyFolder << " opened while the walk waited";
  ahead.memory->GetGate().Release();
  walk.join();
}

// A folder gone between being named and being listed reads as failed, as
// it would have when the walk listed it itself.
TEST(ReadAheadFileSystem, FolderThatFailsAfterBeingNamedFailsAsInTheSerialWalk) {
  MemoryFileSystem serial;
  serial.AddDrive('C');
  serial.AddFile("C:\\a\\f", 1);
  serial.AddFile("C:\\b\\f", 2);
  serial.FailListing("C:\\b");
  const Outcome expected = Scan(serial);

  ReadingAhead ahead(2);
  ahead.memory->AddDrive('C');
  ahead.memory->AddFile("C:\\a\\f", 1);
  ahead.memory->AddFile("C:\\b\\f", 2);
  ahead.memory->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\b"));
  Outcome actual;
  std::thread walk([&] { actual = Scan(*ahead.fs); });
  ahead.memory->GetGate().WaitUntilHeld();
  ahead.memory->FailListing("C:\\b");
  ahead.memory->GetGate().Release();
  walk.join();
  ExpectSame(expected, actual, "b failing");
}

TEST(ReadAheadFileSystem, AbortWithListingsInFlightJoinsEveryThreadAndClosesEveryListing) {
  ReadingAhead ahead(4);
  ahead.memory->AddDrive('C');
  for (int i = 0; i < 8; ++i) {
    for (int f = 0; f < 500; ++f)
      ahead.memory->AddFile("C:\\d" + std::to_string(i) + "\\f" + std::to_string(f), 1);
  }
  ahead.memory->GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\d3", "f7"));
  HeldTree tree;
  tree.gate.Arm("d0");
  AbortFlag abort;
  Outcome outcome;
  std::thread walk([&] { outcome = Scan(*ahead.fs, &tree, &abort); });
  tree.gate.WaitUntilHeld();
  ahead.memory->GetGate().WaitUntilHeld();  // a thread of the pool, in the middle of 'd3'
  abort.Set();
  tree.gate.Release();
  ahead.memory->GetGate().Release();
  walk.join();

  EXPECT_TRUE(outcome.summary.aborted);
  EXPECT_EQ(ahead.fs->RunningThreads(), 0u);
  EXPECT_EQ(ahead.memory->OpenListings(), 0);
}

// The walk is held before it reads any of three folders larger than the
// window: the threads read ahead no further than the window allows, and
// what they leave unread, the walk reads on from where they stopped.
// (A slow machine reads less before the count settles, never more.)
TEST(ReadAheadFileSystem, ReadsAheadNoFurtherThanTheWindow) {
  const int perFolder = static_cast<int>(ReadAheadFileSystem::kWindowEntries) + 300;
  const auto build = [perFolder](MemoryFileSystem& fs) {
    fs.AddDrive('C');
    for (int big = 0; big < 3; ++big) {
      for (int f = 0; f < perFolder; ++f)
        fs.AddFile("C:\\big" + std::to_string(big) + "\\f" + std::to_string(f), 1 + f % 7);
    }
  };
  MemoryFileSystem serial;
  build(serial);
  const Outcome expected = Scan(serial);
  ReadingAhead ahead(4);
  build(*ahead.memory);
  HeldTree tree;
  tree.gate.Arm("big0");
  Outcome actual;
  std::thread walk([&] { actual = Scan(*ahead.fs, &tree); });
  tree.gate.WaitUntilHeld();
  long read = -1;
  for (int settled = 0; settled < 10;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const long now = ahead.memory->EntriesRead();
    settled = now == read ? settled + 1 : 0;
    read = now;
  }
  tree.gate.Release();
  walk.join();
  const long rootEntries = 3;
  EXPECT_LE(read, static_cast<long>(ReadAheadFileSystem::kWindowEntries) + rootEntries);
  EXPECT_GT(read, rootEntries);
  ExpectSame(expected, actual, "folders larger than the window");
}

}  // namespace
