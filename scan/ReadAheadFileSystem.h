#pragma once
// A file system that lists the folders the walk has queued before the walk
// asks for them, on a small pool of threads, while the walk builds the
// tree: the disk and the other cores no longer wait for it. The walk does
// not change: it opens the same listings in the same order and reads the
// same entries; it only names the folders it has queued (the hints of
// FileSystem). Threads take folders up in queue order, within a window of
// at most kWindowEntries entries read and not yet handed to the walk,
// whatever the tree. A folder the walk asks for before any thread started
// on it is listed on the walk's own thread, as without reading ahead.

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "scan/EntryBatch.h"
#include "scan/FileSystem.h"
#include "scan/ReadAheadJob.h"

class ReadAheadFileSystem : public FileSystem {
 public:
  // Named ahead of the walk: enough that the threads seldom run out of
  // folders to list while the window still has room.
  static constexpr std::size_t kFoldersAhead = 4096;
  static constexpr std::size_t kWindowEntries = 65536;
  static constexpr std::size_t kBatchEntries = 256;

  // How many threads list ahead on a drive ('C'); 1 or fewer: none, the
  // walk's own thread lists each folder when it gets there.
  using ThreadCountFor = std::function<unsigned(char driveLetter)>;
  // Called first on each listing thread; the platform lowers the thread's
  // priority there, so that the walk, which takes what the threads read,
  // and a dialog's GUI thread run as soon as they have work.
  using ThreadStart = std::function<void()>;

  // inner must take listings opened on several threads at once.
  ReadAheadFileSystem(std::unique_ptr<FileSystem> inner, ThreadCountFor threadsFor,
                      ThreadStart onThreadStart = nullptr);
  ReadAheadFileSystem(const ReadAheadFileSystem&) = delete;
  ReadAheadFileSystem& operator=(const ReadAheadFileSystem&) = delete;
  ~ReadAheadFileSystem() override;

  std::uint32_t GetLogicalDrives() override;
  bool IsFixedDrive(const char* rootText) override;
  ListingResult OpenListing(const char* pattern) override;
  bool GetUsedBytes(const char* rootText, std::uint64_t& used) override;
  std::size_t ListingsAhead(const char* rootText) const override;
  void ExpectListing(const char* pattern) override;
  void ForgetExpected() override;

  const FileSystem& Inner() const { return *m_inner; }
  // Threads listing ahead right now; asked on the walk's thread.
  std::size_t RunningThreads() const;

 private:
  using Job = ReadAheadJob;
  using JobPtr = std::shared_ptr<Job>;
  // Keeps a job no longer used for the next one named.
  struct JobRecycler {
    ReadAheadFileSystem* owner;
    void operator()(Job* job) const noexcept;
  };
  using Lock = std::unique_lock<std::mutex>;
  class Listing;
  enum class WalkWaits { ForNothing, ForOpening, ForBatch, ForIdleThreads };
  static constexpr int kNotAsked = -1;

  unsigned ThreadsFor(char driveLetter) const;

  // The threads' side (ReadAheadThreads.cpp).
  void StartThreads(unsigned count);
  void StopThreads();
  std::size_t NextToClaim() const;
  bool WindowFull() const;
  bool FrontIsFree() const;
  bool CanClaim() const;
  void RunThread();
  void ListJob(Lock& lock, Job& job, EntryBatch::Builder& builder);
  void ReadOn(Lock& lock, Job& job, std::unique_ptr<DirectoryListing> listing, EntryBatch::Builder& builder);
  bool ReadBatch(DirectoryListing& listing, EntryBatch::Builder& builder, EntryBatch& batch, std::size_t most,
                 const Job* job);
  void Publish(Job& job, EntryBatch& batch);
  void Drop(Job& job);
  void GiveBack(Job& job);
  void TellWalk();

  // Measuring a listing's entries on threads with nothing else to do.
  struct SharedTask {
    SharedTask(std::size_t total, const std::function<void(std::size_t)>& call) : count(total), work(call) {}
    // Takes calls not yet taken, with whoever else takes them, until none is left.
    void RunToTheEnd() {
      for (std::size_t i = next++; i < count; i = next++) work(i);
    }
    const std::size_t count;
    const std::function<void(std::size_t)>& work;
    std::atomic<std::size_t> next{0};
    std::size_t helpers = 0;  // guarded by the lock
  };
  void Share(std::size_t count, const std::function<void(std::size_t)>& work);
  bool OfferHelp(SharedTask& task);
  void WithdrawHelp(SharedTask& task);
  bool HelpWanted() const;  // locked
  void Help(Lock& lock);

  // The walk's side (ReadAheadFileSystem.cpp).
  JobPtr NewJob(const char* pattern);
  bool ThreadsRunLow() const;
  void HandHintsOver();  // locked
  void UnlockAndWake(Lock& lock);
  void ReopenWindowIfRoomCame();             // locked
  JobPtr TakeExpected(const char* pattern);  // locked
  ListingResult OpenOnWalkThread(const char* pattern);
  void GiveBackForWantOfHandles();
  bool TakeBatch(Job& job, EntryBatch& batch);  // locked
  bool NextFromJob(Job& job, EntryBatch& batch, std::unique_ptr<DirectoryListing>& rest, bool& exhausted);
  void DropTaken(Job& job);
  bool WalkMayGoOn() const;
  void WaitForThreads(Lock& lock, WalkWaits what, const Job* job);

  // First: every job and batch goes back to these before they go.
  BatchMemory m_batchMemory;
  std::mutex m_spareJobsMutex;  // alone, so that a job may be let go with m_mutex held or not
  std::vector<std::unique_ptr<Job>> m_spareJobs;

  std::unique_ptr<FileSystem> m_inner;
  ThreadCountFor m_threadsFor;
  ThreadStart m_onThreadStart;
  mutable std::array<int, 26> m_threadCounts;  // per drive letter, asked once
  std::vector<JobPtr> m_hints;                 // named, not yet handed to the threads (walk only)
  std::size_t m_jobsOut = 0;                   // handed to the threads, not yet taken back (walk only)
  std::vector<std::thread> m_threads;          // changed on the walk's thread only

  std::mutex m_mutex;
  std::condition_variable m_work;      // for the threads: a job, room in the window, or stop
  std::condition_variable m_progress;  // for the walk: as WalkMayGoOn says
  std::condition_variable m_helped;    // for a thread sharing its work: every helper is done
  SharedTask* m_task = nullptr;        // the work a thread shares out, if any
  WalkWaits m_walkWaits = WalkWaits::ForNothing;
  const Job* m_walkJob = nullptr;   // the job the walk waits on
  std::deque<JobPtr> m_jobs;        // named by the walk and not yet asked for, in its order
  std::size_t m_claimedFront = 0;   // of m_jobs after the first, those up to here were taken up
  std::size_t m_windowUsed = 0;     // entries read ahead and not yet taken, or being read
  std::size_t m_running = 0;        // threads started, as the threads may see it
  std::size_t m_busyThreads = 0;    // threads opening or reading a job
  bool m_shortOfHandles = false;    // this drive's walk goes on without reading ahead
  bool m_windowClosed = false;      // it filled: no new job until a quarter of it is free
  std::size_t m_threadsToWake = 0;  // threads to wake once the walk lets go of the lock
  std::atomic<bool> m_stopping{false};
  std::atomic<std::size_t> m_idleThreads{0};  // waiting for a job; read without the lock
};
