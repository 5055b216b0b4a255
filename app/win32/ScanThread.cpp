#include "app/win32/ScanThread.h"

#include <process.h>

#include "app/win32/framework/SentMessageWait.h"

namespace {

class DialogBatchSink : public BatchSink {
 public:
  DialogBatchSink(HWND dialog, WorkerHandOver& handOver) : m_dialog(dialog), m_handOver(handOver) {}

  // When the dialog is gone the batch's records are left alone, not freed: the
  // worker may still be adding to the last of them, and the program is ending.
  // (The GUI thread's own hand-over of a waiting batch comes here too: a message
  // sent to a window of the sending thread is a plain call.)
  void Deliver(std::unique_ptr<InsertionBatch> batch) override {
    m_handOver.batchInFlight = batch.get();
    SendMessageA(m_dialog, WM_INSERTBATCH, 0, reinterpret_cast<LPARAM>(batch.get()));
    m_handOver.batchInFlight = nullptr;
  }

 private:
  HWND m_dialog;
  WorkerHandOver& m_handOver;
};

class PostedCompletion : public CompletionNotice {
 public:
  PostedCompletion(HWND dialog, WorkerHandOver& handOver) : m_dialog(dialog), m_handOver(handOver) {}
  void Post() override {
    m_handOver.completionPosted = true;
    PostMessageA(m_dialog, WM_SCANCOMPLETE, 0, 0);
  }

 private:
  HWND m_dialog;
  WorkerHandOver& m_handOver;
};

}  // namespace

// Everything one worker uses, shared with it: a dialog that stops waiting for it
// (closing after the time limit) frees nothing the worker still needs.
struct Win32ScanWorker::Shared {
  explicit Shared(const ScanThreadSettings& settings)
      : source(settings.source),
        session(settings.session),
        abort(settings.abort),
        sink(settings.dialog, handOver),
        inserter(sink, settings.batchSize),
        completion(settings.dialog, handOver) {}

  std::shared_ptr<TreeSource> source;
  SharedScanSession session;
  std::shared_ptr<AbortFlag> abort;
  WorkerHandOver handOver;
  DialogBatchSink sink;
  BatchingInserter inserter;
  PostedCompletion completion;
};

namespace {

unsigned __stdcall ScanThreadEntry(void* argument) {
  std::unique_ptr<std::shared_ptr<Win32ScanWorker::Shared>> held(
      static_cast<std::shared_ptr<Win32ScanWorker::Shared>*>(argument));
  Win32ScanWorker::Shared& shared = **held;
  try {
    shared.source->Fill(shared.inserter, *shared.session, shared.abort.get(), &shared.completion);
  } catch (...) {
    // A fill lets nothing out; nothing may cross the thread's entry either.
  }
  return 0;
}

}  // namespace

std::unique_ptr<Win32ScanWorker> Win32ScanWorker::Start(const ScanThreadSettings& settings) {
  auto shared = std::make_shared<Shared>(settings);
  auto forThread = std::make_unique<std::shared_ptr<Shared>>(shared);
  const uintptr_t thread = _beginthreadex(nullptr, 0, &ScanThreadEntry, forThread.get(), 0, nullptr);
  if (thread == 0) return nullptr;
  forThread.release();  // the worker owns its share now
  return std::unique_ptr<Win32ScanWorker>(new Win32ScanWorker(reinterpret_cast<HANDLE>(thread), shared));
}

Win32ScanWorker::Win32ScanWorker(HANDLE thread, std::shared_ptr<Shared> shared)
    : m_thread(thread), m_shared(std::move(shared)) {}

// A worker still running keeps what it shares alive and ends on its own.
Win32ScanWorker::~Win32ScanWorker() { CloseHandle(m_thread); }

const WorkerHandOver& Win32ScanWorker::HandOver() const { return m_shared->handOver; }

bool Win32ScanWorker::HasEnded() const { return WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0; }

bool Win32ScanWorker::WaitServingHandOver(std::chrono::milliseconds limit) {
  const DWORD timeout =
      limit >= std::chrono::milliseconds(INFINITE) ? INFINITE : static_cast<DWORD>(limit.count());
  return WaitServingSentMessages(m_thread, timeout);
}

void Win32ScanWorker::HandOverWaiting() { m_shared->inserter.HandOverWaiting(); }

const ScanProgress* Win32ScanWorker::Progress() const { return m_shared->source->Progress(); }
