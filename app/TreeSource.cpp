#include "app/TreeSource.h"

#include <optional>
#include <utility>

namespace {

// Every drive, or one folder again.
class DriveScan : public TreeSource {
 public:
  DriveScan(std::shared_ptr<FileSystem> fileSystem, std::optional<FolderRescan> rescan)
      : m_fileSystem(std::move(fileSystem)), m_rescan(std::move(rescan)) {}

  void Fill(TreeInserter& tree, ScanSession& session, AbortSignal* abort,
            CompletionNotice* completion) override {
    ScanJob job{*m_fileSystem, session.Folders(), tree, abort, completion, &session.Largest()};
    if (m_rescan) job.rescan = &*m_rescan;
    job.progress = &m_progress;
    ScanThreadProc(&job);
  }
  const ScanProgress* Progress() const override { return &m_progress; }

 private:
  std::shared_ptr<FileSystem> m_fileSystem;
  std::optional<FolderRescan> m_rescan;
  // One per fill: a folder walked again never shows the figures of the scan before.
  ScanProgress m_progress;
};

// Inserting what is already in memory takes moments: no abort test is needed.
class SavedScans : public TreeSource {
 public:
  SavedScans(std::vector<SavedScan> scans, std::shared_ptr<const DisplayText> names)
      : m_scans(std::move(scans)), m_names(std::move(names)) {}

  void Fill(TreeInserter& tree, ScanSession& session, AbortSignal*, CompletionNotice* completion) override {
    try {
      InsertSavedDrives(m_scans, tree, session, *m_names);
    } catch (...) {
      // Only memory can run out; what was inserted is shown.
    }
    try {
      tree.Flush();
    } catch (...) {
    }
    m_scans.clear();
    if (completion != nullptr) completion->Post();
  }

 private:
  std::vector<SavedScan> m_scans;
  std::shared_ptr<const DisplayText> m_names;
};

}  // namespace

std::shared_ptr<TreeSource> DriveScanSource(std::shared_ptr<FileSystem> fileSystem) {
  return std::make_shared<DriveScan>(std::move(fileSystem), std::nullopt);
}

std::shared_ptr<TreeSource> FolderScanSource(std::shared_ptr<FileSystem> fileSystem, FolderRescan rescan) {
  return std::make_shared<DriveScan>(std::move(fileSystem), std::move(rescan));
}

std::shared_ptr<TreeSource> SavedScanSource(std::vector<SavedScan> scans,
                                            std::shared_ptr<const DisplayText> names) {
  return std::make_shared<SavedScans>(std::move(scans), std::move(names));
}
