#include "app/TreeSource.h"

#include <utility>

#include "scan/ScanEngine.h"

namespace {

class DriveScan : public TreeSource {
 public:
  explicit DriveScan(std::shared_ptr<FileSystem> fileSystem) : m_fileSystem(std::move(fileSystem)) {}

  void Fill(TreeInserter& tree, ScanSession& session, AbortSignal* abort,
            CompletionNotice* completion) override {
    ScanJob job{*m_fileSystem, session.Folders(), tree, abort, completion, &session.Largest()};
    ScanThreadProc(&job);
  }

 private:
  std::shared_ptr<FileSystem> m_fileSystem;
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
  return std::make_shared<DriveScan>(std::move(fileSystem));
}

std::shared_ptr<TreeSource> SavedScanSource(std::vector<SavedScan> scans,
                                            std::shared_ptr<const DisplayText> names) {
  return std::make_shared<SavedScans>(std::move(scans), std::move(names));
}
