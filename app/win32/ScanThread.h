#pragma once
// The worker of one scan, or of one fill from saved scans: hands its insertions to
// the dialog in batches, and posts the completion message as its last act.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>

#include "app/InsertionBatch.h"
#include "app/ScanController.h"
#include "app/TreeSource.h"
#include "scan/ScanSession.h"
#include "scan/ScanSignals.h"

// Sent (not posted) by the worker to the dialog: lParam is an InsertionBatch*
// that the dialog carries out before the worker goes on. The dialog answers
// kBatchTaken; any other answer means the window is gone.
constexpr UINT WM_INSERTBATCH = WM_USER + 1001;
constexpr LRESULT kBatchTaken = 1;

// Posted by the worker to the dialog when a scan has ended for any reason.
constexpr UINT WM_SCANCOMPLETE = WM_USER + 1000;

// What one worker has handed over, for the dialog to check its messages against: any
// process may post or send a window any message, and a completion or batch that did
// not come from this worker must change nothing.
struct WorkerHandOver {
  // The batch being handed over right now; null between batches.
  std::atomic<const InsertionBatch*> batchInFlight{nullptr};
  // Set just before the worker posts its completion, its last act.
  std::atomic<bool> completionPosted{false};

  bool IsBatchInFlight(LPARAM batch) const {
    return batch != 0 && reinterpret_cast<const InsertionBatch*>(batch) == batchInFlight.load();
  }
};

struct ScanThreadSettings {
  std::shared_ptr<TreeSource> source;
  SharedScanSession session;         // whose folders the worker fills
  std::shared_ptr<AbortFlag> abort;  // may be null: the scan then runs to its end
  HWND dialog;
  std::size_t batchSize;
};

class Win32ScanWorker : public ScanWorker {
 public:
  // Starts the worker at once (_beginthreadex); null when no thread could be started.
  static std::unique_ptr<Win32ScanWorker> Start(const ScanThreadSettings& settings);
  ~Win32ScanWorker() override;

  // Signalled when the worker has ended.
  HANDLE Handle() const { return m_thread; }
  const WorkerHandOver& HandOver() const;

  bool HasEnded() const override;
  // Carries out the insertions the worker sends meanwhile, and nothing else.
  bool WaitServingHandOver(std::chrono::milliseconds limit) override;
  void HandOverWaiting() override;
  const ScanProgress* Progress() const override;

  struct Shared;

 private:
  Win32ScanWorker(HANDLE thread, std::shared_ptr<Shared> shared);

  HANDLE m_thread;
  std::shared_ptr<Shared> m_shared;
};
