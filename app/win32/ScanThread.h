#pragma once
// The worker of one scan: walks the drives, hands its insertions to the dialog
// in batches, and posts the completion message as its last act.

#include <windows.h>

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

struct ScanThreadSettings {
  std::shared_ptr<FileSystem> fileSystem;
  std::shared_ptr<AbortFlag> abort;  // may be null: the scan then runs to its end
  HWND dialog;
  std::size_t batchSize;
};

// Starts the worker at once; its handle is signalled when it has ended. Null
// when no thread could be started.
HANDLE StartScanThread(const ScanThreadSettings& settings);
