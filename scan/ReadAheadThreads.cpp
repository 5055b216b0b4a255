// The read-ahead file system's threads: they take up the folders the walk
// has named, in its order, and read each into batches within the window.

#include <algorithm>
#include <thread>
#include <utility>

#include "scan/ReadAheadFileSystem.h"

// A thread the system refuses leaves more of the work to the walk's own.
void ReadAheadFileSystem::StartThreads(unsigned count) {
  try {
    while (m_threads.size() < count) {
      m_threads.emplace_back([this] { RunThread(); });
      Lock lock(m_mutex);
      ++m_running;
    }
  } catch (...) {
  }
}

void ReadAheadFileSystem::StopThreads() {
  {
    Lock lock(m_mutex);
    m_stopping = true;
    for (const JobPtr& job : m_jobs) Drop(*job);
    m_jobs.clear();
    m_claimedFront = 0;
  }
  m_hints.clear();  // never seen by a thread
  m_jobsOut = 0;
  m_work.notify_all();
  for (std::thread& thread : m_threads) thread.join();
  m_threads.clear();
  Lock lock(m_mutex);
  m_running = 0;
  m_stopping = false;
  m_shortOfHandles = false;
  m_windowClosed = false;
}

// The first folder named is the walk's next. A thread that started on it
// would make the walk wait for a hand-over, which costs more than listing a
// small folder; the walk lists it itself, the threads the ones after it.
// (A chain of folders is listed on the walk's thread alone.)
std::size_t ReadAheadFileSystem::NextToClaim() const { return std::max<std::size_t>(m_claimedFront, 1); }

bool ReadAheadFileSystem::WindowFull() const { return m_windowUsed >= kWindowEntries; }

// While the walk waits for the entries of a folder being read, its next
// folder no longer waits for it: a thread with nothing else to do takes it
// up. (Not while it waits for a folder to open: that is soon done, and the
// walk would then wait again for the one it could have listed itself, as
// at every level of two chains side by side.)
bool ReadAheadFileSystem::FrontIsFree() const {
  return m_walkWaits == WalkWaits::ForBatch && !m_jobs.empty() &&
         m_jobs.front()->stage == Job::Stage::Waiting;
}

bool ReadAheadFileSystem::CanClaim() const {
  return !m_shortOfHandles && !m_windowClosed && !WindowFull() &&
         (NextToClaim() < m_jobs.size() || FrontIsFree());
}

void ReadAheadFileSystem::RunThread() {
  if (m_onThreadStart) m_onThreadStart();
  EntryBatch::Builder builder;
  Lock lock(m_mutex);
  for (;;) {
    if (m_stopping) return;
    if (HelpWanted()) {
      Help(lock);
      continue;
    }
    // Decided afresh after every wait: HelpWanted can turn false without the lock.
    if (!CanClaim()) {
      if (WindowFull()) m_windowClosed = true;
      ++m_idleThreads;
      m_work.wait(lock, [this] { return m_stopping || CanClaim() || HelpWanted(); });
      --m_idleThreads;
      continue;
    }
    JobPtr job = m_jobs.front();
    if (NextToClaim() < m_jobs.size()) {
      m_claimedFront = NextToClaim() + 1;
      job = m_jobs[m_claimedFront - 1];
    }
    job->stage = Job::Stage::Listing;
    ++m_busyThreads;
    ListJob(lock, *job, builder);
    --m_busyThreads;
    TellWalk();
  }
}

// Opens the job and reads its first batch before taking the lock again: a
// small folder costs the lock once. Called and returns locked.
void ReadAheadFileSystem::ListJob(Lock& lock, Job& job, EntryBatch::Builder& builder) {
  const std::size_t most = std::min(kBatchEntries, kWindowEntries - m_windowUsed);
  m_windowUsed += most;
  lock.unlock();
  ListingResult result;
  EntryBatch batch;
  bool more = false;
  std::exception_ptr failure;
  try {
    result = m_inner->OpenListing(job.pattern.c_str());
    if (result.status == ListingStatus::Opened && result.listing)
      more = ReadBatch(*result.listing, builder, batch, most, &job);
  } catch (...) {
    failure = std::current_exception();
  }
  if (!more) result.listing.reset();
  lock.lock();
  m_windowUsed -= most;
  if (result.outOfHandles && !failure) {
    // The walk lists it itself once the descriptors held here are back.
    job.stage = Job::Stage::Waiting;
    m_shortOfHandles = true;
    return;
  }
  job.opened = true;
  job.status = result.status;
  job.failure = failure;
  Publish(job, batch);
  if (more && !job.failure) {
    ReadOn(lock, job, std::move(result.listing), builder);
  } else {
    job.stage = Job::Stage::Finished;
  }
}

// Reads further batches while the window has room; entries past it are left
// in the listing, for the walk to read itself. Called and returns locked.
void ReadAheadFileSystem::ReadOn(Lock& lock, Job& job, std::unique_ptr<DirectoryListing> listing,
                                 EntryBatch::Builder& builder) {
  bool givenBack = false;
  while (listing) {
    TellWalk();
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
    bool more = false;
    std::exception_ptr failure;
    try {
      more = ReadBatch(*listing, builder, batch, most, &job);
    } catch (...) {
      failure = std::current_exception();
    }
    if (!more || failure) listing.reset();
    lock.lock();
    m_windowUsed -= most;
    if (failure) job.failure = failure;
    Publish(job, batch);
    if (job.failure) break;
  }
  if (givenBack) {
    GiveBack(job);
  } else {
    job.stage = Job::Stage::Finished;
  }
  if (listing) {
    lock.unlock();
    listing.reset();  // a system call: not under the lock
    lock.lock();
  }
}

// Up to `most` entries; false once the listing has no more. Reading for a
// job, it stops early, with true, when the walk has given the job up or the
// pool stops.
bool ReadAheadFileSystem::ReadBatch(DirectoryListing& listing, EntryBatch::Builder& builder,
                                    EntryBatch& batch, std::size_t most, const Job* job) {
  builder.Clear();  // of what a failed batch left
  const auto take = [&builder](const DirectoryEntry& entry) { builder.Add(entry); };
  const ShareWork share = [this](std::size_t count, const std::function<void(std::size_t)>& work) {
    Share(count, work);
  };
  bool more = true;
  while (more && builder.Size() < most) {
    if (job != nullptr &&
        (job->dropped.load(std::memory_order_relaxed) || m_stopping.load(std::memory_order_relaxed)))
      break;
    more = listing.NextMany(most - builder.Size(), take, share);
  }
  batch = builder.Pack(&m_batchMemory);
  return more;
}

// A large folder is listed by one thread while the others may have nothing
// to do: they measure its entries with it. (Until the walk is past such a
// folder it names nothing new, and the threads would wait.)
void ReadAheadFileSystem::Share(std::size_t count, const std::function<void(std::size_t)>& work) {
  SharedTask task(count, work);
  const bool offered = OfferHelp(task);
  task.RunToTheEnd();
  if (offered) WithdrawHelp(task);
}

bool ReadAheadFileSystem::OfferHelp(SharedTask& task) {
  const std::size_t idle = m_idleThreads.load(std::memory_order_relaxed);
  if (idle == 0) return false;
  Lock lock(m_mutex);
  if (m_task != nullptr || m_stopping) return false;
  m_task = &task;
  lock.unlock();
  // Asked once: each asking reads a file of the kernel's.
  static const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  for (std::size_t i = 0; i < std::min(idle, cores); ++i) m_work.notify_one();
  return true;
}

// Returns once no thread helps any more: the task lives on the caller's stack.
void ReadAheadFileSystem::WithdrawHelp(SharedTask& task) {
  Lock lock(m_mutex);
  m_task = nullptr;
  m_helped.wait(lock, [&task] { return task.helpers == 0; });
}

bool ReadAheadFileSystem::HelpWanted() const {
  return m_task != nullptr && m_task->next.load(std::memory_order_relaxed) < m_task->count;
}

void ReadAheadFileSystem::Help(Lock& lock) {
  SharedTask& task = *m_task;
  ++task.helpers;
  lock.unlock();
  task.RunToTheEnd();
  lock.lock();
  if (--task.helpers == 0) m_helped.notify_all();
}

// Hands the batch to the job, unless the walk has given the job up.
void ReadAheadFileSystem::Publish(Job& job, EntryBatch& batch) {
  if (job.dropped || batch.Size() == 0) return;
  try {
    job.batches.push_back(std::move(batch));
  } catch (...) {
    job.failure = std::current_exception();
    return;
  }
  job.buffered += job.batches.back().Size();
  m_windowUsed += job.batches.back().Size();
}

// What it holds is let go at once: batches, and a listing where reading
// ahead stopped (rarely: a job dropped after it filled the window).
void ReadAheadFileSystem::Drop(Job& job) {
  job.dropped = true;
  m_windowUsed -= job.buffered;
  job.buffered = 0;
  job.taken = 0;
  job.batches.clear();
  job.rest.reset();
}

// Back to waiting, as if never started: nothing of it has reached the walk.
void ReadAheadFileSystem::GiveBack(Job& job) {
  Drop(job);
  job.dropped = false;
  job.opened = false;
  job.failure = nullptr;
  job.stage = Job::Stage::Waiting;
  m_claimedFront = 0;
}

void ReadAheadFileSystem::TellWalk() {
  if (WalkMayGoOn()) m_progress.notify_one();
}
