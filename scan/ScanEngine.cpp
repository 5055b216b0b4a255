#include "scan/ScanEngine.h"

#include <cstring>
#include <deque>
#include <memory>
#include <string_view>

#include "path/NameRules.h"
#include "path/Path.h"
#include "scan/FolderRecord.h"
#include "scan/TextQueue.h"

namespace {

// A folder found and not yet listed. Its listing pattern, 'C:\a\b\*', is
// its parent's without the '*', its name and '\*': a queued folder costs
// its name, and the pattern of a folder listed is kept once however many
// of its subfolders wait, all in the walk's texts.
struct PendingFolder {
  const char* parentPattern;  // null for a drive
  std::size_t parentLength;   // of parentPattern, '*' included
  const char* leaf;     // its own name, checked by the path rules, in the walk's texts; 'C:' for a drive
  const char* pattern;  // made when the file system was told of it, else null
  InsertedItem parent;
  FolderRecord* parentRecord;  // null for a drive
  std::uint32_t place;         // among the parent's subfolders
};

class DriveWalker {
 public:
  explicit DriveWalker(ScanJob& job) : m_job(job) {}
  DriveWalker(const DriveWalker&) = delete;
  DriveWalker& operator=(const DriveWalker&) = delete;
  // Also when memory ran out mid-walk: whatever the file system started
  // for the queue is released.
  ~DriveWalker() { EndDrive(); }

  void Run() {
    if (m_job.rescan != nullptr) {
      // One folder: counts, but no share of a drive's space.
      if (m_job.progress != nullptr) m_job.progress->Start(0);
      WalkFolderAgain(*m_job.rescan);
    } else {
      WalkDrives();
    }
    if (m_job.progress != nullptr) {
      PublishProgress();
      m_job.progress->Finish();
    }
  }

 private:
  void WalkDrives() {
    const std::uint32_t drives = m_job.fileSystem.GetLogicalDrives();
    if (m_job.progress != nullptr) m_job.progress->Start(UsedBytesOf(drives));
    char rootText[3] = {'A', ':', '\0'};
    std::uint32_t mask = drives;
    for (int bit = 0; mask != 0; mask >>= 1, ++bit) {
      if (Aborted()) return;
      if ((mask & 1) == 0) continue;
      rootText[0] = static_cast<char>('A' + bit);
      if (m_job.fileSystem.IsFixedDrive(rootText)) WalkDrive(rootText);
    }
  }

  // The space the fixed drives use together; 0 when any one's is unknown.
  std::uint64_t UsedBytesOf(std::uint32_t mask) {
    std::uint64_t total = 0;
    char rootText[3] = {'A', ':', '\0'};
    for (int bit = 0; mask != 0; mask >>= 1, ++bit) {
      rootText[0] = static_cast<char>('A' + bit);
      if ((mask & 1) == 0 || !m_job.fileSystem.IsFixedDrive(rootText)) continue;
      std::uint64_t used = 0;
      if (!m_job.fileSystem.GetUsedBytes(rootText, used)) return 0;
      AddSize(total, used);
    }
    return total;
  }

  // Counted in members and handed over once a folder and every so many
  // entries: the walk's loop pays for no shared write of its own.
  void PublishProgress() {
    m_entriesUnpublished = 0;
    if (m_job.progress != nullptr) m_job.progress->Publish(m_job.summary.folders, m_bytesSeen);
  }

  bool Aborted() {
    if (m_job.abort == nullptr || !m_job.abort->IsSet()) return false;
    m_job.summary.aborted = true;
    return true;
  }

  void WalkDrive(const char* rootText) {
    CPath drivePath;
    drivePath.Parse(CDynString(rootText, AllocHeap));
    m_namesAhead = m_job.fileSystem.ListingsAhead(rootText);
    const char* drive = m_texts.Push(TextOrEmpty(drivePath.GetLast().GetName()));
    m_queue.push_back(PendingFolder{nullptr, 0, drive, nullptr, kTopLevel, nullptr, 0});
    NameQueuedFolders();
    RunFolderLoop();
    EndDrive();
  }

  // The folder is listed as the walk lists any other, from its own record and below
  // the top level, which stands for its item.
  void WalkFolderAgain(const FolderRescan& rescan) {
    FolderRecord& folder = *rescan.record;
    folder.ownFiles = 0;
    folder.unreadable = false;
    folder.incomplete = false;
    if (m_job.largestFiles != nullptr) m_job.largestFiles->RemoveBelow(folder);
    const std::string rootText = rescan.pattern.substr(0, 2);
    m_namesAhead = m_job.fileSystem.ListingsAhead(rootText.c_str());
    m_currentPattern = m_texts.Push(rescan.pattern);
    m_currentLength = rescan.pattern.size();
    m_currentRecord = &folder;
    m_currentItem = kTopLevel;
    m_subfoldersQueued = 0;
    if (OpenCurrentListing()) RunFolderLoop();
    EndDrive();
  }

  void EndDrive() {
    m_listing.reset();
    m_queue.clear();
    m_named = 0;
    m_currentPattern = nullptr;
    m_texts.Clear();
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
    const PendingFolder next = m_queue.front();
    m_queue.pop_front();
    if (next.pattern != nullptr) {
      m_currentPattern = next.pattern;
      --m_named;
    } else {
      m_currentPattern = MakePattern(next);
    }
    m_currentLength = std::strlen(m_currentPattern);
    NameQueuedFolders();

    m_currentRecord = m_job.folders.Add(next.leaf, next.parentRecord, next.place);
    m_subfoldersQueued = 0;
    m_currentItem = m_job.tree.Insert(next.parent, m_currentRecord->name, m_currentRecord);
    ++m_job.summary.folders;
    if (m_job.progress != nullptr) {
      PublishProgress();
      m_job.progress->SetCurrentFolder(m_currentRecord);
    }
    DropUnusedTexts();
    return OpenCurrentListing();
  }

  bool OpenCurrentListing() {
    ListingResult result = m_job.fileSystem.OpenListing(m_currentPattern);
    if (result.status == ListingStatus::Failed) {
      m_currentRecord->unreadable = true;
      ++m_job.summary.unreadableFolders;
    }
    if (result.status != ListingStatus::Opened || !result.listing) return false;
    m_listing = std::move(result.listing);
    return true;
  }

  void HandleEntry(const DirectoryEntry& entry) {
    if (++m_entriesUnpublished == kEntriesPerPublish) PublishProgress();
    if (!entry.isFolder) {
      AddSize(m_currentRecord->ownFiles, entry.size);
      AddSize(m_bytesSeen, entry.size);
      if (m_job.largestFiles != nullptr) m_job.largestFiles->Offer(entry.size, *m_currentRecord, entry.name);
      return;
    }
    if (IsDotOrDotDot(entry.name)) return;
    QueueSubfolder(entry.name);
  }

  // A name that no path can hold (a drive's 'C:' under a folder, say) is
  // counted as unreadable and not entered, so the scan goes on past it.
  void QueueSubfolder(const char* name) {
    if (IsDriveDesignator(name) || !IsValidName(name)) {
      ++m_job.summary.unreadableFolders;
      return;
    }
    const char* leaf = m_texts.Push(name);
    m_queue.push_back(PendingFolder{m_currentPattern, m_currentLength, leaf, nullptr, m_currentItem,
                                    m_currentRecord, m_subfoldersQueued});
    ++m_subfoldersQueued;
    NameQueuedFolders();
  }

  // Tells the file system which folders come next, as far ahead as it asks.
  void NameQueuedFolders() {
    while (m_named < m_queue.size() && m_named < m_namesAhead) {
      PendingFolder& folder = m_queue[m_named];
      folder.pattern = MakePattern(folder);
      m_job.fileSystem.ExpectListing(folder.pattern);
      ++m_named;
    }
  }

  const char* MakePattern(const PendingFolder& folder) {
    const std::size_t parentLength = folder.parentPattern != nullptr ? folder.parentLength - 1 : 0;
    return m_texts.Push(std::string_view(folder.parentPattern, parentLength), folder.leaf, "\\*");
  }

  // Texts are made in the walk's order: nothing before the pattern of the
  // front folder's parent is needed any more (its name and pattern come
  // later), nor before the current pattern once the queue is empty.
  void DropUnusedTexts() {
    if (m_queue.empty()) {
      m_texts.DropBefore(m_currentPattern);
    } else {
      const PendingFolder& front = m_queue.front();
      m_texts.DropBefore(front.parentPattern != nullptr ? front.parentPattern : front.leaf);
    }
  }

  static constexpr unsigned kEntriesPerPublish = 256;

  ScanJob& m_job;
  std::uint64_t m_bytesSeen = 0;  // in files, on every drive so far
  unsigned m_entriesUnpublished = 0;
  std::deque<PendingFolder> m_queue;
  std::size_t m_namesAhead = 0;
  std::size_t m_named = 0;  // queued folders, from the front, the file system was told of
  TextQueue m_texts;        // names and patterns of the queue and the current folder
  std::unique_ptr<DirectoryListing> m_listing;
  const char* m_currentPattern = nullptr;
  std::size_t m_currentLength = 0;
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
  // An early end finishes too: nobody waits for a share that cannot grow.
  if (job.progress != nullptr) job.progress->Finish();
  if (job.completion != nullptr) job.completion->Post();
  return 0;
}
