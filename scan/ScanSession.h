#pragma once
// What one scan, or one opening of saved scans, produced: its folders and the
// largest files it saw. Shared
// by whoever works on it (the worker filling it, the dialog showing it, the
// report printing it), so that no record outlives the scan and none goes
// while one of them still uses it: dropping the last share frees them all.

#include <memory>

#include "scan/FolderStore.h"
#include "scan/LargestFiles.h"

class ScanSession {
 public:
  FolderStore& Folders() { return m_folders; }
  LargestFiles& Largest() { return m_largest; }
  const LargestFiles& Largest() const { return m_largest; }

 private:
  FolderStore m_folders;
  LargestFiles m_largest;
};

using SharedScanSession = std::shared_ptr<ScanSession>;
