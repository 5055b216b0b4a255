#pragma once
// What one scan, or one opening of saved scans, produced: its folders. Shared
// by whoever works on it (the worker filling it, the dialog showing it, the
// report printing it), so that no record outlives the scan and none goes
// while one of them still uses it: dropping the last share frees them all.

#include <memory>

#include "scan/FolderStore.h"

class ScanSession {
 public:
  FolderStore& Folders() { return m_folders; }

 private:
  FolderStore m_folders;
};

using SharedScanSession = std::shared_ptr<ScanSession>;
