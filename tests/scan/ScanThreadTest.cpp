// The worker protocol across threads: abort from another thread while the
// worker is held at a chosen point, and completion after the last insertion.

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/TreeDump.h"

namespace {

// Buffers insertions as a front end does and records when they and the
// completion notice arrive.
class BufferingTree : public TreeInserter, public CompletionNotice {
 public:
  InsertedItem Insert(InsertedItem parent, const char* text, FolderRecord* record) override {
    m_pending.push_back({parent, text, record});
    return m_pending.size() + m_delivered;
  }
  void Flush() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Pending& p : m_pending) {
      m_events.push_back("insert " + p.text);
    }
    m_delivered += m_pending.size();
    m_pending.clear();
  }
  void Post() override {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.push_back("complete");
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
  }

 private:
  struct Pending {
    InsertedItem parent;
    std::string text;
    FolderRecord* record;
  };
  std::vector<Pending> m_pending;
  std::size_t m_delivered = 0;
  std::mutex m_mutex;
  std::vector<std::string> m_events;
};

class CompletionFlag : public CompletionNotice {
 public:
  void Post() override { m_posted = true; }
  bool m_posted = false;
};

TEST(ScanThreadTest, AbortFromAnotherThreadStopsAtTheNextTestAndKeepsWhatWasInserted) {
  MemoryFileSystem fs;
  fs.AddDrive('C');
  fs.AddFile("C:\\a\\one", 1);
  fs.AddFile("C:\\a\\two", 2);
  fs.AddFile("C:\\a\\three", 4);
  fs.AddFolder("C:\\a\\never");
  fs.AddDrive('D');
  fs.GetGate().Arm(MemoryFileSystem::EntryPoint("C:\\a", "two"));

  FolderStore folders;
  MemoryTree tree;
  AbortFlag abort;
  CompletionFlag done;
  ScanJob job{fs, folders, tree, &abort, &done};
  std::thread worker(ScanThreadProc, &job);
  fs.GetGate().WaitUntilHeld();
  abort.Set();
  fs.GetGate().Release();
  worker.join();

  EXPECT_TRUE(done.m_posted);
  EXPECT_TRUE(job.summary.aborted);
  // 'two' was already being read when the abort came; nothing after it.
  EXPECT_EQ(DumpRecords(tree), "C: 0\n  a 3\n");
}

TEST(ScanThreadTest, CompletionArrivesAfterTheLastBufferedInsertion) {
  MemoryFileSystem fs;
  fs.AddDrive('C');
  fs.AddFolder("C:\\x\\y");
  FolderStore folders;
  BufferingTree tree;
  ScanJob job{fs, folders, tree, nullptr, &tree};
  std::thread worker(ScanThreadProc, &job);
  worker.join();
  EXPECT_EQ(tree.Events(), (std::vector<std::string>{"insert C:", "insert x", "insert y", "complete"}));
}

TEST(ScanThreadTest, WithoutAnAbortSignalTheScanRunsToTheEnd) {
  MemoryFileSystem fs;
  fs.AddDrive('C');
  fs.AddFile("C:\\d1\\d2\\d3\\f", 8);
  FolderStore folders;
  MemoryTree tree;
  CompletionFlag done;
  ScanJob job{fs, folders, tree, nullptr, &done};
  EXPECT_EQ(ScanThreadProc(&job), 0u);
  EXPECT_TRUE(done.m_posted);
  EXPECT_EQ(job.summary.folders, 4u);
}

}  // namespace
