#include "app/ScanThread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "scan/ScanEngine.h"

struct ScanThread::Shared {
  Shared(std::shared_ptr<FileSystem> fs, std::shared_ptr<AbortFlag> abortFlag, std::shared_ptr<ScanMailbox> box)
      : fileSystem(std::move(fs)),
        abort(std::move(abortFlag)),
        mailbox(std::move(box)),
        inserter(*mailbox),
        job{*fileSystem, inserter, abort.get(), mailbox.get()} {}

  std::shared_ptr<FileSystem> fileSystem;
  std::shared_ptr<AbortFlag> abort;
  std::shared_ptr<ScanMailbox> mailbox;
  BatchingInserter inserter;
  ScanJob job;

  std::thread thread;
  mutable std::mutex mutex;
  std::condition_variable endedChanged;
  bool ended = false;
  std::vector<FolderRecord*> recordsToFree;
};

namespace {

void FreeRecords(const std::vector<FolderRecord*>& records) {
  for (FolderRecord* record : records) DeleteFolderRecord(record);
}

}  // namespace

ScanThread::ScanThread(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

std::unique_ptr<ScanThread> ScanThread::Start(std::shared_ptr<FileSystem> fileSystem,
                                              std::shared_ptr<AbortFlag> abort,
                                              std::shared_ptr<ScanMailbox> mailbox) {
  auto shared = std::make_shared<Shared>(std::move(fileSystem), std::move(abort), std::move(mailbox));
  try {
    shared->thread = std::thread([shared] {
      ScanThreadProc(&shared->job);
      std::vector<FolderRecord*> records;
      {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->ended = true;
        records.swap(shared->recordsToFree);
        shared->endedChanged.notify_all();
      }
      FreeRecords(records);
    });
  } catch (const std::system_error&) {
    return nullptr;
  }
  return std::unique_ptr<ScanThread>(new ScanThread(std::move(shared)));
}

ScanThread::~ScanThread() {
  if (HasEnded()) {
    m_shared->thread.join();
  } else {
    m_shared->thread.detach();  // its lambda keeps everything it uses alive
  }
}

bool ScanThread::HasEnded() const {
  std::lock_guard<std::mutex> lock(m_shared->mutex);
  return m_shared->ended;
}

bool ScanThread::WaitServingHandOver(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(m_shared->mutex);
  const auto ended = [this] { return m_shared->ended; };
  // No deadline for "forever": now plus the largest duration would overflow.
  if (limit == std::chrono::milliseconds::max()) {
    m_shared->endedChanged.wait(lock, ended);
    return true;
  }
  return m_shared->endedChanged.wait_for(lock, limit, ended);
}

void ScanThread::HandOverWaiting() { m_shared->inserter.HandOverWaiting(); }

void ScanThread::FreeWhenEnded(std::vector<FolderRecord*> records) {
  {
    std::lock_guard<std::mutex> lock(m_shared->mutex);
    if (!m_shared->ended) {
      m_shared->recordsToFree.insert(m_shared->recordsToFree.end(), records.begin(), records.end());
      return;
    }
  }
  FreeRecords(records);
}
