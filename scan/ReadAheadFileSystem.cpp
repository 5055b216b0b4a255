#include "scan/ReadAheadFileSystem.h"

#include <algorithm>
#include <new>
#include <utility>

#include "scan/SpareBlocks.h"

// The walk's view of a folder read ahead: the batches as they come, then
// the listing itself where reading ahead stopped.
class ReadAheadFileSystem::Listing : public DirectoryListing {
 public:
  Listing(ReadAheadFileSystem& owner, JobPtr job, EntryBatch first, bool exhausted)
      : m_owner(owner), m_job(std::move(job)), m_batch(std::move(first)), m_exhausted(exhausted) {}
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;
  ~Listing() override {
    if (!m_exhausted) m_owner.DropTaken(*m_job);
  }

  // One a folder, on the walk's thread: each takes the memory of the last.
  static void* operator new(std::size_t size) { return SpareBlocks<Listing>::Take(size); }
  static void operator delete(void* listing, std::size_t size) noexcept {
    SpareBlocks<Listing>::Give(listing, size);
  }

  bool Next(DirectoryEntry& entry) override {
    for (;;) {
      if (m_next < m_batch.Size()) {
        entry = m_batch.At(m_next++);
        return true;
      }
      m_next = 0;
      if (m_rest) {
        // Idle threads help the walk measure what was left to it.
        if (!m_owner.ReadBatch(*m_rest, m_builder, m_batch, kBatchEntries, nullptr)) m_rest.reset();
        continue;
      }
      if (m_exhausted) return false;
      if (!m_owner.NextFromJob(*m_job, m_batch, m_rest, m_exhausted)) return false;
    }
  }

 private:
  ReadAheadFileSystem& m_owner;
  JobPtr m_job;
  EntryBatch m_batch;
  EntryBatch::Builder m_builder;
  std::size_t m_next = 0;
  bool m_exhausted;  // nothing more to take from the job
  std::unique_ptr<DirectoryListing> m_rest;
};

ReadAheadFileSystem::ReadAheadFileSystem(std::unique_ptr<FileSystem> inner, ThreadCountFor threadsFor,
                                         ThreadStart onThreadStart)
    : m_inner(std::move(inner)),
      m_threadsFor(std::move(threadsFor)),
      m_onThreadStart(std::move(onThreadStart)) {
  m_threadCounts.fill(kNotAsked);
}

ReadAheadFileSystem::~ReadAheadFileSystem() { StopThreads(); }

std::uint32_t ReadAheadFileSystem::GetLogicalDrives() { return m_inner->GetLogicalDrives(); }

bool ReadAheadFileSystem::IsFixedDrive(const char* rootText) { return m_inner->IsFixedDrive(rootText); }

bool ReadAheadFileSystem::GetUsedBytes(const char* rootText, std::uint64_t& used) {
  return m_inner->GetUsedBytes(rootText, used);
}

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

// While the threads have work, named folders wait here and reach them in
// one go when their work runs low (or the walk asks for one of them): one
// lock and one wake-up for many folders, not one a folder.
void ReadAheadFileSystem::ExpectListing(const char* pattern) {
  const unsigned threads = ThreadsFor(pattern[0]);
  if (threads <= 1) return;
  m_hints.push_back(NewJob(pattern));
  if (m_threads.empty()) StartThreads(threads);
  if (!ThreadsRunLow()) return;
  Lock lock(m_mutex);
  HandHintsOver();
  UnlockAndWake(lock);
}

ReadAheadFileSystem::JobPtr ReadAheadFileSystem::NewJob(const char* pattern) {
  std::unique_ptr<Job> job;
  {
    std::lock_guard<std::mutex> lock(m_spareJobsMutex);
    if (!m_spareJobs.empty()) {
      job = std::move(m_spareJobs.back());
      m_spareJobs.pop_back();
    }
  }
  if (!job) job = std::make_unique<Job>();
  job->pattern.assign(pattern);
  // Made and mostly let go on the walk's thread: the count's block is kept there.
  return JobPtr(job.release(), JobRecycler{this}, SpareBlockAllocator<Job>());
}

void ReadAheadFileSystem::JobRecycler::operator()(Job* job) const noexcept {
  std::unique_ptr<Job> kept(job);
  kept->Reset();
  std::lock_guard<std::mutex> lock(owner->m_spareJobsMutex);
  if (owner->m_spareJobs.size() >= kFoldersAhead) return;
  try {
    owner->m_spareJobs.push_back(std::move(kept));
  } catch (const std::bad_alloc&) {
  }
}

bool ReadAheadFileSystem::ThreadsRunLow() const { return m_jobsOut <= 4 * m_threads.size(); }

// As many idle threads are woken as there are new jobs, not all of them.
void ReadAheadFileSystem::HandHintsOver() {
  if (m_hints.empty()) return;
  m_jobs.insert(m_jobs.end(), m_hints.begin(), m_hints.end());
  m_jobsOut += m_hints.size();
  if (CanClaim()) m_threadsToWake = std::max(m_threadsToWake, m_hints.size());
  m_hints.clear();
}

// Woken threads go straight for the lock: they are woken once it is free.
void ReadAheadFileSystem::UnlockAndWake(Lock& lock) {
  const std::size_t wake = std::min(m_threadsToWake, m_idleThreads.load(std::memory_order_relaxed));
  m_threadsToWake = 0;
  lock.unlock();
  for (std::size_t i = 0; i < wake; ++i) m_work.notify_one();
}

// A window that filled opens again only once a quarter of it is free: each
// opening then wakes the threads for many folders, not for one batch each.
void ReadAheadFileSystem::ReopenWindowIfRoomCame() {
  if (!m_windowClosed || m_windowUsed > kWindowEntries - kWindowEntries / 4) return;
  m_windowClosed = false;
  m_threadsToWake = m_threads.size();
}

void ReadAheadFileSystem::ForgetExpected() {
  StopThreads();
  m_inner->ForgetExpected();
  m_batchMemory.Release();
}

ListingResult ReadAheadFileSystem::OpenListing(const char* pattern) {
  Lock lock(m_mutex);
  if (ThreadsRunLow() || m_jobs.empty() || m_jobs.front()->pattern != pattern) HandHintsOver();
  const JobPtr job = TakeExpected(pattern);
  if (job && !job->Settled()) WaitForThreads(lock, WalkWaits::ForOpening, job.get());
  if (!job || job->stage == Job::Stage::Waiting) {
    UnlockAndWake(lock);
    return OpenOnWalkThread(pattern);
  }
  if (job->status != ListingStatus::Opened && job->failure) std::rethrow_exception(job->failure);
  ListingResult result;
  result.status = job->status;
  EntryBatch first;
  if (result.status == ListingStatus::Opened) TakeBatch(*job, first);
  const bool exhausted = job->Exhausted();
  UnlockAndWake(lock);
  if (result.status != ListingStatus::Opened) return result;
  try {
    result.listing = std::make_unique<Listing>(*this, job, std::move(first), exhausted);
  } catch (...) {
    if (!exhausted) DropTaken(*job);
    throw;
  }
  return result;
}

// The job of pattern, off the list; folders named before it are given up
// (the walk never asks for them now). Null when no thread has started on
// it, or it was never named: the walk then lists it itself.
ReadAheadFileSystem::JobPtr ReadAheadFileSystem::TakeExpected(const char* pattern) {
  const auto found =
      std::find_if(m_jobs.begin(), m_jobs.end(), [&](const JobPtr& job) { return job->pattern == pattern; });
  if (found == m_jobs.end()) return nullptr;
  const std::size_t skipped = static_cast<std::size_t>(found - m_jobs.begin());
  JobPtr job = *found;
  for (std::size_t i = 0; i < skipped; ++i) Drop(*m_jobs[i]);
  m_jobs.erase(m_jobs.begin(), m_jobs.begin() + static_cast<std::ptrdiff_t>(skipped) + 1);
  m_jobsOut -= skipped + 1;
  m_claimedFront = m_claimedFront > skipped ? m_claimedFront - skipped - 1 : 0;
  ReopenWindowIfRoomCame();
  if (job->stage == Job::Stage::Waiting) {
    job->dropped = true;
    return nullptr;
  }
  job->takenByWalk = true;
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
  Lock lock(m_mutex);
  m_shortOfHandles = true;
  for (const JobPtr& job : m_jobs) {
    if (job->stage == Job::Stage::Finished && job->rest) GiveBack(*job);
  }
  WaitForThreads(lock, WalkWaits::ForIdleThreads, nullptr);
}

bool ReadAheadFileSystem::TakeBatch(Job& job, EntryBatch& batch) {
  if (!job.HasBatch()) return false;
  batch = std::move(job.batches[job.taken++]);
  if (!job.HasBatch()) {
    job.batches.clear();
    job.taken = 0;
  }
  job.buffered -= batch.Size();
  m_windowUsed -= batch.Size();
  ReopenWindowIfRoomCame();
  return true;
}

// The job's next batch, or the listing where reading ahead stopped; false
// at the end. exhausted: the job has nothing more to hand over.
bool ReadAheadFileSystem::NextFromJob(Job& job, EntryBatch& batch, std::unique_ptr<DirectoryListing>& rest,
                                      bool& exhausted) {
  batch.Clear();  // its memory is freed here, not under the lock
  Lock lock(m_mutex);
  if (ThreadsRunLow()) HandHintsOver();
  WaitForThreads(lock, WalkWaits::ForBatch, &job);
  const bool taken = TakeBatch(job, batch);
  exhausted = !taken || job.Exhausted();
  if (!taken) rest = std::move(job.rest);
  const std::exception_ptr failure = taken ? nullptr : job.failure;
  UnlockAndWake(lock);
  if (taken || rest) return true;
  if (failure) std::rethrow_exception(failure);
  return false;
}

void ReadAheadFileSystem::DropTaken(Job& job) {
  Lock lock(m_mutex);
  Drop(job);
  ReopenWindowIfRoomCame();
  UnlockAndWake(lock);
}

// The walk sleeps only when its job is not ready, and then until the
// threads have got far enough: its job is opened, and the jobs after it (as
// many as there are threads) have each come to a batch or a halt, so that
// the next few folders go without another wait. Threads wake it only then:
// a wake-up per folder would cost more than listing a small folder. (Had it
// waited for those further jobs even with its own ready, a walk that caught
// up with the threads would sleep again at almost every folder.) When the
// threads can take up nothing more, the window being full or every named
// folder taken, the walk goes on as soon as its own job is ready: only the
// walk can make room or name more folders.
bool ReadAheadFileSystem::WalkMayGoOn() const {
  switch (m_walkWaits) {
    case WalkWaits::ForNothing:
      return false;
    case WalkWaits::ForOpening: {
      if (!m_walkJob->Settled()) return false;
      if (!CanClaim()) return true;
      const std::size_t ahead = std::min(m_jobs.size(), m_running);
      return std::all_of(m_jobs.begin(), m_jobs.begin() + static_cast<std::ptrdiff_t>(ahead),
                         [](const JobPtr& job) { return job->Settled(); });
    }
    case WalkWaits::ForBatch:
      return m_walkJob->HasBatch() || m_walkJob->stage == Job::Stage::Finished;
    case WalkWaits::ForIdleThreads:
      return m_busyThreads == 0;
  }
  return true;
}

// Before it sleeps, the walk hands over every folder it has named, and its
// next one is free for the threads to take: threads idle for want of work
// would otherwise wait for the walk while it waits for them.
void ReadAheadFileSystem::WaitForThreads(Lock& lock, WalkWaits what, const Job* job) {
  m_walkWaits = what;
  m_walkJob = job;
  if (what != WalkWaits::ForIdleThreads && !WalkMayGoOn()) {
    HandHintsOver();
    if (FrontIsFree() && CanClaim()) m_threadsToWake = std::max<std::size_t>(m_threadsToWake, 1);
  }
  if (m_threadsToWake != 0 && !WalkMayGoOn()) {
    m_threadsToWake = 0;
    m_work.notify_all();  // they must get on for the walk to go on
  }
  m_progress.wait(lock, [this] { return WalkMayGoOn(); });
  m_walkWaits = WalkWaits::ForNothing;
  m_walkJob = nullptr;
}
