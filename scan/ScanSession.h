#pragma once
// What one scan, or one opening of saved scans, produced: its folders and the
// largest files it saw. Shared
// by whoever works on it (the worker filling it, the dialog showing it, the
// report printing it), so that no record outlives the scan and none goes
// while one of them still uses it: dropping the last share frees them all.

#include <memory>

#include "scan/FolderChanges.h"
#include "scan/FolderStore.h"
#include "scan/LargestFiles.h"

class ScanSession {
 public:
  FolderStore& Folders() { return m_folders; }
  LargestFiles& Largest() { return m_largest; }
  const LargestFiles& Largest() const { return m_largest; }
  // Each folder's change since a baseline, once one is matched
  // (BaselineMatch.h): keyed by the records, it goes with them.
  FolderChanges& Changes() { return m_changes; }
  const FolderChanges& Changes() const { return m_changes; }

 private:
  FolderStore m_folders;
  LargestFiles m_largest;
  FolderChanges m_changes;
};

using SharedScanSession = std::shared_ptr<ScanSession>;
