#pragma once
// Walks every fixed drive breadth first and inserts one tree item per drive
// and folder, each carrying a FolderRecord with the size of the files
// directly in it. Totals and labels are computed afterwards on the GUI thread.

#include <cstdint>
#include <string>

#include "scan/FileSystem.h"
#include "scan/FolderStore.h"
#include "scan/LargestFiles.h"
#include "scan/ScanProgress.h"
#include "scan/ScanSignals.h"
#include "scan/Tree.h"

struct ScanSummary {
  std::uint64_t folders = 0;            // items inserted
  std::uint64_t unreadableFolders = 0;  // listings that failed, names no path can hold
  bool aborted = false;
  bool outOfMemory = false;  // the walk stopped early for want of memory
};

// One folder walked again in place of every drive. Its record is kept, with what it
// counted forgotten (and its largest files), and its subfolders are inserted as
// top-level items: the front end puts them below the folder's item.
struct FolderRescan {
  FolderRecord* record;
  std::string pattern;  // its listing pattern, 'C:\a\b\*'
};

// Everything one scan works with. The worker writes only summary.
struct ScanJob {
  FileSystem& fileSystem;
  FolderStore& folders;  // where the records go
  TreeInserter& tree;
  AbortSignal* abort = nullptr;            // null: the scan is never aborted
  CompletionNotice* completion = nullptr;  // null: nobody is told
  LargestFiles* largestFiles = nullptr;    // null: no file is kept
  const FolderRescan* rescan = nullptr;    // null: every fixed drive is walked
  ScanProgress* progress = nullptr;        // null: nobody follows the scan
  ScanSummary summary{};
};

// Walks every fixed drive, or the one folder job.rescan names.
void ScanDrives(ScanJob& job);

// The worker's entry: scans, hands over the last insertions, then posts the
// completion notice. Never lets an exception out. Returns 0.
unsigned ScanThreadProc(void* job);
