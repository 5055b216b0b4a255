#include "scan/ScanEngine.h"

#include <deque>
#include <memory>

#include "path/Path.h"
#include "scan/FolderRecord.h"

namespace {

// A folder found and not yet listed. Siblings share their parent's path, so
// a queued folder costs its own name and a pointer, not a copy of the path.
struct PendingFolder {
  std::shared_ptr<const CPath> base;  // the parent's path, or a drive's own path
  CPathComponent leaf;                // empty for a drive
  InsertedItem parent;
};

class DriveWalker {
 public:
  explicit DriveWalker(ScanJob& job) : m_job(job) {}

  void Run() {
    char rootText[3] = {'A', ':', '\0'};
    std::uint32_t mask = m_job.fileSystem.GetLogicalDrives();
    for (int bit = 0; mask != 0; mask >>= 1, ++bit) {
      if (Aborted()) return;
      if ((mask & 1) == 0) continue;
      rootText[0] = static_cast<char>('A' + bit);
      if (m_job.fileSystem.IsFixedDrive(rootText)) WalkDrive(rootText);
    }
  }

 private:
  bool Aborted() {
    if (m_job.abort == nullptr || !m_job.abort->IsSet()) return false;
    m_job.summary.aborted = true;
    return true;
  }

  void WalkDrive(const char* rootText) {
    auto drivePath = std::make_shared<CPath>();
    drivePath->Parse(CDynString(rootText, AllocHeap));
    m_queue.push_back(PendingFolder{std::move(drivePath), CPathComponent(), kTopLevel});
    RunFolderLoop();
    m_listing.reset();
    m_queue.clear();
  }

  // One pass per folder taken from the queue and one per entry, each
  // behind an abort test.
  void RunFolderLoop() {
    DirectoryEntry entry;
    for (;;) {
      if (Aborted()) return;
      if (m_listing) {
        if (m_listing->Next(entry)) {
          HandleEntry(entry);
        } else {
          m_listing.reset();
        }
        continue;
      }
      if (m_queue.empty()) return;
      if (StartNextFolder() && m_listing->Next(entry)) HandleEntry(entry);
    }
  }

  // Inserts the front folder's item and opens its listing; false when
  // there is nothing to read from it.
  bool StartNextFolder() {
    PendingFolder next = std::move(m_queue.front());
    m_queue.pop_front();
    std::shared_ptr<const CPath> path = MakeFolderPath(next);
    if (!path) return false;
    m_currentPath = std::move(path);
    m_currentRecord = NewFolderRecord(m_currentPath->GetLast().GetName().GetText());
    m_currentItem = m_job.tree.Insert(next.parent, m_currentRecord->name, m_currentRecord);
    ++m_job.summary.folders;

    const CDynString pattern = (*m_currentPath + m_wildcard).ToString();
    ListingResult result = m_job.fileSystem.OpenListing(pattern.GetText());
    if (result.status == ListingStatus::Failed) {
      m_currentRecord->unreadable = true;
      ++m_job.summary.unreadableFolders;
    }
    if (result.status != ListingStatus::Opened || !result.listing) return false;
    m_listing = std::move(result.listing);
    return true;
  }

  // A name that no path can hold ('C:' under a folder, say) is counted as
  // unreadable and not entered, so the scan goes on past it.
  std::shared_ptr<const CPath> MakeFolderPath(const PendingFolder& folder) {
    if (folder.leaf.IsEmpty()) return folder.base;
    try {
      return std::make_shared<const CPath>(*folder.base + folder.leaf);
    } catch (const CPathException&) {
      ++m_job.summary.unreadableFolders;
      return nullptr;
    }
  }

  void HandleEntry(const DirectoryEntry& entry) {
    if (!entry.isFolder) {
      AddSize(m_currentRecord->size, entry.size);
      return;
    }
    if (IsDotOrDotDot(entry.name)) return;
    try {
      m_queue.push_back(PendingFolder{m_currentPath, CPathComponent(entry.name), m_currentItem});
    } catch (const CPathException&) {
      ++m_job.summary.unreadableFolders;
    }
  }

  ScanJob& m_job;
  const CPathComponent m_wildcard{"*"};
  std::deque<PendingFolder> m_queue;
  std::unique_ptr<DirectoryListing> m_listing;
  std::shared_ptr<const CPath> m_currentPath;
  FolderRecord* m_currentRecord = nullptr;
  InsertedItem m_currentItem = kTopLevel;
};

}  // namespace

void ScanDrives(ScanJob& job) {
  DriveWalker walker(job);
  walker.Run();
}

unsigned ScanThreadProc(void* argument) {
  ScanJob& job = *static_cast<ScanJob*>(argument);
  try {
    ScanDrives(job);
  } catch (...) {
    // Only memory can run out here; what was inserted stays and is shown.
    job.summary.outOfMemory = true;
  }
  try {
    job.tree.Flush();
  } catch (...) {
    job.summary.outOfMemory = true;
  }
  if (job.completion != nullptr) job.completion->Post();
  return 0;
}
