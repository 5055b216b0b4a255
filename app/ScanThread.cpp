#include "app/ScanThread.h"

#include <system_error>
#include <thread>

#include "app/WorkerEnd.h"

struct ScanThread::Shared {
  Shared(std::shared_ptr<TreeSource> treeSource, SharedScanSession scanSession,
         std::shared_ptr<AbortFlag> abortFlag, std::shared_ptr<ScanMailbox> box)
      : source(std::move(treeSource)),
        session(std::move(scanSession)),
        abort(std::move(abortFlag)),
        mailbox(std::move(box)),
        inserter(*mailbox) {}

  std::shared_ptr<TreeSource> source;
  SharedScanSession session;
  std::shared_ptr<AbortFlag> abort;
  std::shared_ptr<ScanMailbox> mailbox;
  BatchingInserter inserter;

  std::thread thread;
  WorkerEnd end;
};

ScanThread::ScanThread(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

std::unique_ptr<ScanThread> ScanThread::Start(std::shared_ptr<TreeSource> source, SharedScanSession session,
                                              std::shared_ptr<AbortFlag> abort,
                                              std::shared_ptr<ScanMailbox> mailbox) {
  auto shared =
      std::make_shared<Shared>(std::move(source), std::move(session), std::move(abort), std::move(mailbox));
  try {
    shared->thread = std::thread([shared] {
      shared->source->Fill(shared->inserter, *shared->session, shared->abort.get(), shared->mailbox.get());
      shared->end.MarkEnded();
    });
  } catch (const std::system_error&) {
    return nullptr;
  }
  return std::unique_ptr<ScanThread>(new ScanThread(std::move(shared)));
}

std::unique_ptr<ScanThread> ScanThread::Start(std::shared_ptr<FileSystem> fileSystem,
                                              SharedScanSession session, std::shared_ptr<AbortFlag> abort,
                                              std::shared_ptr<ScanMailbox> mailbox) {
  return Start(DriveScanSource(std::move(fileSystem)), std::move(session), std::move(abort),
               std::move(mailbox));
}

ScanThread::~ScanThread() {
  if (HasEnded()) {
    m_shared->thread.join();
  } else {
    m_shared->thread.detach();  // its lambda keeps everything it uses alive
  }
}

bool ScanThread::HasEnded() const { return m_shared->end.HasEnded(); }

bool ScanThread::WaitServingHandOver(std::chrono::milliseconds limit) { return m_shared->end.WaitFor(limit); }

void ScanThread::HandOverWaiting() { m_shared->inserter.HandOverWaiting(); }

const ScanProgress* ScanThread::Progress() const { return m_shared->source->Progress(); }
