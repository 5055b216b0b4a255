#include "scan/ScanEngine.h"

#include <deque>
#include <memory>
#include <string>

#include "path/NameRules.h"
#include "path/Path.h"
#include "scan/FolderRecord.h"

namespace {

// The listing pattern of a folder taken from the queue, 'C:\a\*'. Its
// subfolders share it: a queued folder costs its own name and a pointer,
// and its pattern is this text without the '*', its name and '\*', one
// copy however deep it lies.
using SharedPattern = std::shared_ptr<const std::string>;

// A folder found and not yet listed.
struct PendingFolder {
  SharedPattern parentPattern;  // null for a drive
  CPathComponent leaf;          // the folder's own name; 'C:' for a drive
  InsertedItem parent;
  FolderRecord* parentRecord;  // null for a drive
  std::uint32_t place;         // among the parent's subfolders
};

void MakePattern(const PendingFolder& folder, std::string& pattern) {
  const char* name = folder.leaf.GetName().GetText();
  const std::size_t parentLength = folder.parentPattern ? folder.parentPattern->size() - 1 : 0;
  pattern.clear();
  pattern.reserve(parentLength + static_cast<std::size_t>(folder.leaf.GetName().GetLength(false)) + 2);
  if (folder.parentPattern) pattern.append(*folder.parentPattern, 0, parentLength);
  pattern.append(name);
  pattern.append("\\*");
}

class DriveWalker {
 public:
  explicit DriveWalker(ScanJob& job) : m_job(job) {}
  DriveWalker(const DriveWalker&) = delete;
  DriveWalker& operator=(const DriveWalker&) = delete;
  // Also when memory ran out mid-walk: whatever the file system started
  // for the queue is released.
  ~DriveWalker() { EndDrive(); }

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
    CPath drivePath;
    drivePath.Parse(CDynString(rootText, AllocHeap));
    m_namesAhead = m_job.fileSystem.ListingsAhead(rootText);
    m_queue.push_back(PendingFolder{nullptr, drivePath.GetLast(), kTopLevel, nullptr, 0});
    NameQueuedFolders();
    RunFolderLoop();
    EndDrive();
  }

  void EndDrive() {
    m_listing.reset();
    m_queue.clear();
    m_namedPatterns.clear();
    m_job.fileSystem.ForgetExpected();
  }

  // One pass per folder taken from the queue and one per entry, each
  // behind an abort test.
  void RunFolderLoop() {
    DirectoryEntry entry;
    for (;;) {
      if (Aborted()) {
        MarkCutShort();
        return;
      }
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

  // What an abort leaves unread: the folder being listed, and every folder
  // whose subfolders wait in the queue. A saved scan says so.
  void MarkCutShort() {
    if (m_listing) m_currentRecord->incomplete = true;
    for (const PendingFolder& folder : m_queue) {
      if (folder.parentRecord != nullptr) folder.parentRecord->incomplete = true;
    }
  }

  // Inserts the front folder's item and opens its listing; false when
  // there is nothing to read from it.
  bool StartNextFolder() {
    PendingFolder next = std::move(m_queue.front());
    m_queue.pop_front();
    auto pattern = std::make_shared<std::string>();
    if (m_namedPatterns.empty()) {
      MakePattern(next, *pattern);
    } else {
      *pattern = std::move(m_namedPatterns.front());  // made when the folder was named
      m_namedPatterns.pop_front();
    }
    m_currentPattern = std::move(pattern);
    NameQueuedFolders();

    m_currentRecord = m_job.folders.Add(next.leaf.GetName().GetText(), next.parentRecord, next.place);
    m_subfoldersQueued = 0;
    m_currentItem = m_job.tree.Insert(next.parent, m_currentRecord->name, m_currentRecord);
    ++m_job.summary.folders;

    ListingResult result = m_job.fileSystem.OpenListing(m_currentPattern->c_str());
    if (result.status == ListingStatus::Failed) {
      m_currentRecord->unreadable = true;
      ++m_job.summary.unreadableFolders;
    }
    if (result.status != ListingStatus::Opened || !result.listing) return false;
    m_listing = std::move(result.listing);
    return true;
  }

  void HandleEntry(const DirectoryEntry& entry) {
    if (!entry.isFolder) {
      AddSize(m_currentRecord->ownFiles, entry.size);
      return;
    }
    if (IsDotOrDotDot(entry.name)) return;
    QueueSubfolder(entry.name);
  }

  // A name that no path can hold (a drive's 'C:' under a folder, say) is
  // counted as unreadable and not entered, so the scan goes on past it.
  void QueueSubfolder(const char* name) {
    if (IsDriveDesignator(name)) {
      ++m_job.summary.unreadableFolders;
      return;
    }
    try {
      m_queue.push_back(PendingFolder{m_currentPattern, CPathComponent(name), m_currentItem, m_currentRecord,
                                      m_subfoldersQueued});
    } catch (const CPathException&) {
      ++m_job.summary.unreadableFolders;
      return;
    }
    ++m_subfoldersQueued;
    NameQueuedFolders();
  }

  // Tells the file system which folders come next, as far ahead as it asks.
  void NameQueuedFolders() {
    while (m_namedPatterns.size() < m_queue.size() && m_namedPatterns.size() < m_namesAhead) {
      std::string pattern;
      MakePattern(m_queue[m_namedPatterns.size()], pattern);
      m_job.fileSystem.ExpectListing(pattern.c_str());
      m_namedPatterns.push_back(std::move(pattern));
    }
  }

  ScanJob& m_job;
  std::deque<PendingFolder> m_queue;
  std::size_t m_namesAhead = 0;
  // The patterns of the queued folders, from the front, the file system was told of.
  std::deque<std::string> m_namedPatterns;
  std::unique_ptr<DirectoryListing> m_listing;
  SharedPattern m_currentPattern;
  FolderRecord* m_currentRecord = nullptr;
  InsertedItem m_currentItem = kTopLevel;
  std::uint32_t m_subfoldersQueued = 0;  // of the folder being listed
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
