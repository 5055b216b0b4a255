#pragma once
// The worker of one scan: walks the drives, hands its insertions to the dialog
// in batches, and posts the completion message as its last act.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>

#include "app/InsertionBatch.h"
#include "scan/FileSystem.h"
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
  // The batch the worker is sending right now; null between batches.
  std::atomic<const InsertionBatch*> batchInFlight{nullptr};
  // Set just before the worker posts its completion, its last act.
  std::atomic<bool> completionPosted{false};

  bool IsBatchInFlight(LPARAM batch) const {
    return batch != 0 && reinterpret_cast<const InsertionBatch*>(batch) == batchInFlight.load();
  }
};

struct ScanThreadSettings {
  std::shared_ptr<FileSystem> fileSystem;
  std::shared_ptr<AbortFlag> abort;  // may be null: the scan then runs to its end
  std::shared_ptr<WorkerHandOver> handOver;
  HWND dialog;
  std::size_t batchSize;
};

// Starts the worker at once; its handle is signalled when it has ended. Null
// when no thread could be started.
HANDLE StartScanThread(const ScanThreadSettings& settings);
