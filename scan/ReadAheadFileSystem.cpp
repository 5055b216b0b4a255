#include "scan/ReadAheadFileSystem.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

// One folder the walk has named, from the moment it was named until the
// walk has read the last of it or given it up.
struct ReadAheadFileSystem::Job {
  enum class Stage {
    Waiting,   // no thread has started on it
    Opening,   // a thread opens it
    Reading,   // opened; a thread reads its entries
    Finished,  // nothing more will be read ahead: the rest, if any, is the walk's
  };

  explicit Job(const char* text) : pattern(text) {}

  const std::string pattern;
  Stage stage = Stage::Waiting;
  bool takenByWalk = false;          // asked for: never given back, whatever happens
  std::atomic<bool> dropped{false};  // the walk will read none of it: stop
  ListingStatus status = ListingStatus::Failed;
  std::deque<EntryBatch> batches;          // read, not yet taken by the walk
  std::size_t buffered = 0;                // entries in batches
  std::unique_ptr<DirectoryListing> rest;  // where reading ahead stopped
  std::exception_ptr failure;              // raised again where the walk reaches it
};

// What is let go under the lock and released after it.
struct ReadAheadFileSystem::Discarded {
  std::vector<std::deque<EntryBatch>> batches;
  std::vector<std::unique_ptr<DirectoryListing>> listings;
};

// The walk's view of a folder read ahead: the batches as they come, then
// the listing itself where reading ahead stopped.
class ReadAheadFileSystem::Listing : public DirectoryListing {
 public:
  Listing(ReadAheadFileSystem& owner, JobPtr job) : m_owner(owner), m_job(std::move(job)) {}
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;
  ~Listing() override { m_owner.DropTaken(*m_job); }

  bool Next(DirectoryEntry& entry) override {
    if (m_rest) return m_rest->Next(entry);
    if (m_next == m_batch.Size()) {
      m_next = 0;
      switch (m_owner.TakeNextBatch(*m_job, m_batch, m_rest)) {
        case Taken::End:
          return false;
        case Taken::Rest:
          return m_rest->Next(entry);
        case Taken::Batch:
          break;
      }
    }
    entry = m_batch.At(m_next++);
    return true;
  }

 private:
  ReadAheadFileSystem& m_owner;
  JobPtr m_job;
  EntryBatch m_batch;
  std::size_t m_next = 0;
  std::unique_ptr<DirectoryListing> m_rest;
};

ReadAheadFileSystem::ReadAheadFileSystem(std::unique_ptr<FileSystem> inner, ThreadCountFor threadsFor)
    : m_inner(std::move(inner)), m_threadsFor(std::move(threadsFor)) {
  m_threadCounts.fill(kNotAsked);
}

ReadAheadFileSystem::~ReadAheadFileSystem() { StopThreads(); }

std::uint32_t ReadAheadFileSystem::GetLogicalDrives() { return m_inner->GetLogicalDrives(); }

bool ReadAheadFileSystem::IsFixedDrive(const char* rootText) { return m_inner->IsFixedDrive(rootText); }

unsigned ReadAheadFileSystem::ThreadsFor(char driveLetter) const {
  if (driveLetter < 'A' || driveLetter > 'Z' || !m_threadsFor) return 1;
  int& count = m_threadCounts[static_cast<std::size_t>(driveLetter - 'A')];
  if (count == kNotAsked) count = static_cast<int>(m_threadsFor(driveLetter));
  return static_cast<unsigned>(count);
}

std::size_t ReadAheadFileSystem::ListingsAhead(const char* rootText) const {
  return ThreadsFor(rootText[0]) > 1 ? kFoldersAhead : 0;
}

std::size_t ReadAheadFileSystem::RunningThreads() const { return m_threads.size(); }

// ---- the threads' side ----

void ReadAheadFileSystem::ExpectListing(const char* pattern) {
  const unsigned threads = ThreadsFor(pattern[0]);
  if (threads <= 1) return;
  auto job = std::make_shared<Job>(pattern);
  bool claimable = false;
  {
    Lock lock(m_mutex);
    m_jobs.push_back(std::move(job));
    claimable = m_jobs.size() > 1;  // the first is left to the walk
  }
  if (claimable) m_work.notify_one();
  if (m_threads.empty()) StartThreads(threads);
}

// A thread the system refuses leaves more of the work to the walk's own.
void ReadAheadFileSystem::StartThreads(unsigned count) {
  try {
    while (m_threads.size() < count) m_threads.emplace_back([this] { RunThread(); });
  } catch (...) {
  }
}

// The first folder named is the walk's next. A thread that started on it
// would make the walk wait for a hand-over, which costs more than listing a
// small folder; the walk lists it itself, the threads the ones after it.
// (A chain of folders is listed on the walk's thread alone.)
std::size_t ReadAheadFileSystem::NextToClaim() const { return std::max<std::size_t>(m_claimedFront, 1); }

bool ReadAheadFileSystem::WindowFull() const { return m_windowUsed >= kWindowEntries; }

bool ReadAheadFileSystem::CanClaim() const {
  return !m_shortOfHandles && !WindowFull() && NextToClaim() < m_jobs.size();
}

void ReadAheadFileSystem::RunThread() {
  Lock lock(m_mutex);
  for (;;) {
    m_work.wait(lock, [this] { return m_stopping || CanClaim(); });
    if (m_stopping) return;
    m_claimedFront = NextToClaim() + 1;
    const JobPtr job = m_jobs[m_claimedFront - 1];
    job->stage = Job::Stage::Opening;
    ++m_busyThreads;
    lock.unlock();
    ListingResult result;
    std::exception_ptr failure;
    try {
      result = m_inner->OpenListing(job->pattern.c_str());
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    if (failure) {
      job->failure = failure;
      job->stage = Job::Stage::Finished;
    } else if (result.outOfHandles) {
      // The walk lists it itself once the descriptors held here are back.
      job->stage = Job::Stage::Waiting;
      m_shortOfHandles = true;
    } else {
      job->status = result.status;
      job->stage = Job::Stage::Reading;
      ReadAhead(lock, *job, std::move(result.listing));
    }
    --m_busyThreads;
    m_progress.notify_all();
  }
}

// Reads batches while the window has room; entries past it are left in
// the listing, for the walk to read itself. Called and returns locked.
void ReadAheadFileSystem::ReadAhead(Lock& lock, Job& job, std::unique_ptr<DirectoryListing> listing) {
  Discarded discarded;
  bool givenBack = false;
  while (listing) {
    givenBack = !job.dropped && m_shortOfHandles && !job.takenByWalk;
    if (job.dropped || givenBack) break;
    if (m_stopping || WindowFull()) {
      job.rest = std::move(listing);
      break;
    }
    const std::size_t most = std::min(kBatchEntries, kWindowEntries - m_windowUsed);
    m_windowUsed += most;
    lock.unlock();
    EntryBatch batch;
    std::exception_ptr failure;
    bool more = false;
    try {
      more = ReadBatch(*listing, batch, most, job);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    m_windowUsed -= most;
    failure = failure ? failure : Keep(job, std::move(batch));
    m_progress.notify_all();
    if (failure) job.failure = failure;
    if (failure || !more) discarded.listings.push_back(std::move(listing));
  }
  if (listing) discarded.listings.push_back(std::move(listing));
  if (givenBack) {
    GiveBack(job, discarded);
  } else {
    job.stage = Job::Stage::Finished;
  }
  lock.unlock();
  discarded = Discarded();
  lock.lock();
}

// Up to `most` entries; false once the listing has no more. Stops early,
// with true, when the walk has given the job up or the pool stops.
bool ReadAheadFileSystem::ReadBatch(DirectoryListing& listing, EntryBatch& batch, std::size_t most,
                                    const Job& job) {
  DirectoryEntry entry;
  while (batch.Size() < most) {
    if (job.dropped.load(std::memory_order_relaxed) || m_stopping.load(std::memory_order_relaxed))
      return true;
    if (!listing.Next(entry)) return false;
    batch.Add(entry);
  }
  return true;
}

std::exception_ptr ReadAheadFileSystem::Keep(Job& job, EntryBatch batch) {
  if (job.dropped || batch.Size() == 0) return nullptr;
  try {
    job.batches.push_back(std::move(batch));
  } catch (...) {
    return std::current_exception();
  }
  job.buffered += job.batches.back().Size();
  m_windowUsed += job.batches.back().Size();
  return nullptr;
}

void ReadAheadFileSystem::Drop(Job& job, Discarded& discarded) {
  job.dropped = true;
  m_windowUsed -= job.buffered;
  job.buffered = 0;
  discarded.batches.push_back(std::move(job.batches));
  job.batches.clear();
  if (job.rest) discarded.listings.push_back(std::move(job.rest));
}

// Back to waiting, as if never started: nothing of it has reached the walk.
void ReadAheadFileSystem::GiveBack(Job& job, Discarded& discarded) {
  Drop(job, discarded);
  job.dropped = false;
  job.failure = nullptr;
  job.stage = Job::Stage::Waiting;
  m_claimedFront = 0;
}

void ReadAheadFileSystem::StopThreads() {
  Discarded discarded;
  {
    Lock lock(m_mutex);
    m_stopping = true;
    for (const JobPtr& job : m_jobs) Drop(*job, discarded);
    m_jobs.clear();
    m_claimedFront = 0;
  }
  m_work.notify_all();
  for (std::thread& thread : m_threads) thread.join();
  m_threads.clear();
  Lock lock(m_mutex);
  m_stopping = false;
  m_shortOfHandles = false;
}

void ReadAheadFileSystem::ForgetExpected() {
  StopThreads();
  m_inner->ForgetExpected();
}

// ---- the walk's side ----

ListingResult ReadAheadFileSystem::OpenListing(const char* pattern) {
  JobPtr job = TakeExpected(pattern);
  if (!job) return OpenOnWalkThread(pattern);
  Lock lock(m_mutex);
  m_progress.wait(lock, [&] { return job->stage != Job::Stage::Opening; });
  if (job->stage == Job::Stage::Waiting) {
    lock.unlock();
    return OpenOnWalkThread(pattern);
  }
  if (job->status != ListingStatus::Opened && job->failure) std::rethrow_exception(job->failure);
  ListingResult result;
  result.status = job->status;
  lock.unlock();
  if (result.status != ListingStatus::Opened) return result;
  try {
    result.listing = std::make_unique<Listing>(*this, job);
  } catch (...) {
    DropTaken(*job);
    throw;
  }
  return result;
}

// The job of pattern, off the list; folders named before it are given up
// (the walk never asks for them now). Null when no thread has started on
// it, or it was never named: the walk then lists it itself.
ReadAheadFileSystem::JobPtr ReadAheadFileSystem::TakeExpected(const char* pattern) {
  Discarded discarded;
  Lock lock(m_mutex);
  const bool wasFull = WindowFull();
  const auto found =
      std::find_if(m_jobs.begin(), m_jobs.end(), [&](const JobPtr& job) { return job->pattern == pattern; });
  if (found == m_jobs.end()) return nullptr;
  const std::size_t skipped = static_cast<std::size_t>(found - m_jobs.begin());
  JobPtr job = *found;
  for (std::size_t i = 0; i < skipped; ++i) Drop(*m_jobs[i], discarded);
  m_jobs.erase(m_jobs.begin(), m_jobs.begin() + static_cast<std::ptrdiff_t>(skipped) + 1);
  m_claimedFront = m_claimedFront > skipped ? m_claimedFront - skipped - 1 : 0;
  if (job->stage == Job::Stage::Waiting) {
    job->dropped = true;
    return nullptr;
  }
  job->takenByWalk = true;
  const bool freed = wasFull && !WindowFull();
  lock.unlock();
  if (freed) m_work.notify_all();
  return job;
}

ListingResult ReadAheadFileSystem::OpenOnWalkThread(const char* pattern) {
  ListingResult result = m_inner->OpenListing(pattern);
  if (!result.outOfHandles) return result;
  GiveBackForWantOfHandles();
  return m_inner->OpenListing(pattern);
}

// Descriptors ran short: reading ahead stops for this drive and gives back
// what it holds open, so that the walk itself can go on.
void ReadAheadFileSystem::GiveBackForWantOfHandles() {
  Discarded discarded;
  Lock lock(m_mutex);
  m_shortOfHandles = true;
  for (const JobPtr& job : m_jobs) {
    if (job->stage == Job::Stage::Finished && job->rest) GiveBack(*job, discarded);
  }
  m_progress.wait(lock, [this] { return m_busyThreads == 0; });
}

ReadAheadFileSystem::Taken ReadAheadFileSystem::TakeNextBatch(Job& job, EntryBatch& batch,
                                                              std::unique_ptr<DirectoryListing>& rest) {
  Lock lock(m_mutex);
  m_progress.wait(lock, [&] { return !job.batches.empty() || job.stage == Job::Stage::Finished; });
  if (!job.batches.empty()) {
    const bool wasFull = WindowFull();
    batch = std::move(job.batches.front());
    job.batches.pop_front();
    job.buffered -= batch.Size();
    m_windowUsed -= batch.Size();
    lock.unlock();
    if (wasFull) m_work.notify_all();
    return Taken::Batch;
  }
  if (job.rest) {
    rest = std::move(job.rest);
    return Taken::Rest;
  }
  if (job.failure) std::rethrow_exception(job.failure);
  return Taken::End;
}

void ReadAheadFileSystem::DropTaken(Job& job) {
  Discarded discarded;
  bool freed = false;
  {
    Lock lock(m_mutex);
    const bool wasFull = WindowFull();
    Drop(job, discarded);
    freed = wasFull && !WindowFull();
  }
  if (freed) m_work.notify_all();
}
