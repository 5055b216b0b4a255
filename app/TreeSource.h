#pragma once
// What a dialog's worker fills the tree from: the walk of its drives, or saved scans
// read before the worker starts. Both insert through the same inserter and end with
// the same completion, so totals, labels and the controls follow alike.

#include <memory>
#include <vector>

#include "saved/SavedScan.h"
#include "scan/DisplayText.h"
#include "scan/FileSystem.h"
#include "scan/ScanEngine.h"
#include "scan/ScanProgress.h"
#include "scan/ScanSession.h"
#include "scan/ScanSignals.h"
#include "scan/Tree.h"

class TreeSource {
 public:
  virtual ~TreeSource() = default;
  // On the worker: inserts the folders, their records and largest files in session,
  // hands over the last insertions, then posts the completion (when there is one) as
  // its last act. Lets no exception out.
  virtual void Fill(TreeInserter& tree, ScanSession& session, AbortSignal* abort,
                    CompletionNotice* completion) = 0;
  // How far the fill has come, for any thread to read while it runs and as long as
  // the source lives; null where the fill counts nothing (saved scans, read at once).
  virtual const ScanProgress* Progress() const { return nullptr; }
};

// Every drive of the file system, walked by the scan engine.
std::shared_ptr<TreeSource> DriveScanSource(std::shared_ptr<FileSystem> fileSystem);

// One folder of the session's walked again, its subfolders inserted as top-level items
// (see FolderRescan).
std::shared_ptr<TreeSource> FolderScanSource(std::shared_ptr<FileSystem> fileSystem, FolderRescan rescan);

// The scans as drives C:, D:, ... in order, their names in the form names gives
// records. Each fill inserts them once; a later fill inserts nothing.
std::shared_ptr<TreeSource> SavedScanSource(std::vector<SavedScan> scans,
                                            std::shared_ptr<const DisplayText> names);
