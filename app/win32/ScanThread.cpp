#include "app/win32/ScanThread.h"

#include <process.h>

#include "scan/ScanEngine.h"

namespace {

class DialogBatchSink : public BatchSink {
 public:
  DialogBatchSink(HWND dialog, WorkerHandOver& handOver) : m_dialog(dialog), m_handOver(handOver) {}

  // When the dialog is gone the batch's records are left alone, not freed: the
  // worker may still be adding to the last of them, and the program is ending.
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

// Everything one worker uses, owned by the worker alone: a dialog that stops
// waiting for it (closing after the time limit) frees nothing it still needs.
struct ScanSession {
  explicit ScanSession(const ScanThreadSettings& settings)
      : fileSystem(settings.fileSystem),
        abort(settings.abort),
        handOver(settings.handOver),
        sink(settings.dialog, *handOver),
        inserter(sink, settings.batchSize),
        completion(settings.dialog, *handOver),
        job{*fileSystem, inserter, abort.get(), &completion} {}

  std::shared_ptr<FileSystem> fileSystem;
  std::shared_ptr<AbortFlag> abort;
  std::shared_ptr<WorkerHandOver> handOver;
  DialogBatchSink sink;
  BatchingInserter inserter;
  PostedCompletion completion;
  ScanJob job;
};

unsigned __stdcall ScanThreadEntry(void* argument) {
  std::unique_ptr<ScanSession> session(static_cast<ScanSession*>(argument));
  try {
    ScanThreadProc(&session->job);
  } catch (...) {
    // ScanThreadProc lets nothing out; nothing may cross the thread's entry either.
  }
  return 0;
}

}  // namespace

HANDLE StartScanThread(const ScanThreadSettings& settings) {
  auto session = std::make_unique<ScanSession>(settings);
  const uintptr_t thread = _beginthreadex(nullptr, 0, &ScanThreadEntry, session.get(), 0, nullptr);
  if (thread == 0) return nullptr;
  session.release();  // the worker owns it now
  return reinterpret_cast<HANDLE>(thread);
}
