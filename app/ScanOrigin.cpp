#include "app/ScanOrigin.h"

#include <utility>

#include "scan/DriveTable.h"
#include "scan/FolderPath.h"

// The display of whatever the tree shows now. Switched on the GUI thread only when a
// fill starts, never while a worker inserts.
class ScanOrigin::FollowingNames : public DisplayText {
 public:
  explicit FollowingNames(std::shared_ptr<const DisplayText> names) : m_names(std::move(names)) {}
  void Follow(std::shared_ptr<const DisplayText> names) { m_names = std::move(names); }

  CDynString ForName(const char* name, bool isDrive) const override {
    return m_names->ForName(name, isDrive);
  }
  std::string RecordName(std::string_view realName) const override { return m_names->RecordName(realName); }
  char PathSeparator() const override { return m_names->PathSeparator(); }

 private:
  std::shared_ptr<const DisplayText> m_names;
};

// Saved scans read and not inserted yet, with how their drives will show.
struct ScanOrigin::Pending {
  SavedScanSet saved;
  SavedDrives drives;
};

namespace {

// Without the platform's own: names as they are, each drive the folder it was taken of.
class SavedRootNames : public DisplayText {
 public:
  explicit SavedRootNames(const std::vector<std::string>& roots) {
    for (const std::string& root : roots) m_roots.Add(root, root);
  }
  CDynString ForName(const char* name, bool isDrive) const override {
    const DriveRoot* drive = isDrive ? m_roots.Find(name) : nullptr;
    return CDynString(drive != nullptr ? drive->display.c_str() : name, AllocHeap);
  }

 private:
  DriveTable m_roots;
};

}  // namespace

ScanOrigin::ScanOrigin(const AmbrellServices& services)
    : m_drives(services.fileSystem),
      m_openSavedDrives(services.openSavedDrives),
      m_names(std::make_shared<FollowingNames>(services.display)),
      m_openFolder(services.openFolder),
      m_showFile(services.showFile) {}

ScanOrigin::~ScanOrigin() = default;

void ScanOrigin::ShowSaved(SavedScanSet saved) {
  const std::vector<std::string> roots = SavedRoots(saved);
  SavedDrives drives = m_openSavedDrives ? m_openSavedDrives(roots) : SavedDrives{};
  if (!drives.display) drives.display = std::make_shared<SavedRootNames>(roots);
  m_pending.reset(new Pending{std::move(saved), std::move(drives)});
}

bool ScanOrigin::OpenSaved(const std::vector<std::string>& files) { return Read(files); }

bool ScanOrigin::PrepareFill() { return m_files.empty() || m_pending != nullptr || Read(m_files); }

bool ScanOrigin::Read(const std::vector<std::string>& files) {
  SavedScanSet saved;
  std::string error;
  if (!ReadSavedScanSet(files, saved, error)) {
    ReportSavedScanError(error);
    return false;
  }
  ShowSaved(std::move(saved));
  return true;
}

bool ScanOrigin::CanScanFolder(const FolderRecord& folder) const {
  if (!ShowsSavedScans()) return true;
  return m_savedFolders && m_savedFolderHere && m_savedFolderHere(FolderPathOf(folder));
}

bool ScanOrigin::PrepareFolderFill(FolderRecord& folder) {
  if (!CanScanFolder(folder)) return false;
  std::string pattern = ListingPatternOf(folder);
  if (pattern.empty()) return false;
  const std::shared_ptr<FileSystem>& lister = ShowsSavedScans() ? m_savedFolders : m_drives;
  m_folderFill = FolderScanSource(lister, FolderRescan{&folder, std::move(pattern)});
  return true;
}

std::shared_ptr<TreeSource> ScanOrigin::TakeSource() {
  if (m_folderFill) return std::move(m_folderFill);
  if (!m_pending) {
    // Saved files that were not read again show nothing rather than the drives.
    return m_files.empty() ? DriveScanSource(m_drives) : SavedScanSource({}, m_names);
  }
  std::unique_ptr<Pending> pending = std::move(m_pending);
  m_files = pending->saved.files;
  m_names->Follow(pending->drives.display);
  m_openFolder = pending->drives.openFolder;
  m_showFile = pending->drives.showFile;
  m_savedFolders = pending->drives.fileSystem;
  m_savedFolderHere = pending->drives.isHere;
  return SavedScanSource(std::move(pending->saved.scans), pending->drives.display);
}

std::shared_ptr<const DisplayText> ScanOrigin::Names() const { return m_names; }

void ScanOrigin::OpenFolder(const CPath& folder) const {
  if (m_openFolder) m_openFolder(folder);
}

void ScanOrigin::ShowFile(const CPath& folder, const std::string& fileName) const {
  if (m_showFile) {
    m_showFile(folder, fileName);
  } else {
    OpenFolder(folder);
  }
}
