#include "saved/SavedScan.h"

#include <utility>

#include "scan/DriveTable.h"

std::uint64_t SavedScan::UnreadableFolders() const {
  std::uint64_t count = 0;
  for (const Folder& folder : m_folders) count += folder.record->unreadable ? 1 : 0;
  return count;
}

std::size_t SavedScan::AddFolder(std::size_t parent, const std::string& name, bool unreadable) {
  FolderRecord* parentRecord = nullptr;
  std::uint32_t place = 0;
  if (parent != kNoParent) {
    parentRecord = m_folders[parent].record;
    place = m_folders[parent].subfolders++;
  }
  FolderRecord* record = m_store.Add(name.c_str(), parentRecord, place);
  record->unreadable = unreadable;
  m_folders.push_back(Folder{parent, record, 0});
  if (m_folders.size() == 1) m_rootName = name;
  return m_folders.size() - 1;
}

void SavedScan::AddSize(std::size_t folder, std::uint64_t size) {
  FolderRecord& record = *m_folders[folder].record;
  ::AddSize(record.ownFiles, size);  // stops at the largest size, as a scan's sizes do
}

void SavedScan::AddFile(std::size_t folder, const std::string& name, std::uint64_t size) {
  AddSize(folder, size);
  m_largest.Offer(size, *m_folders[folder].record, name.c_str());
}

void SavedScan::MoveLargestFilesTo(LargestFiles& files, const DisplayText& names) {
  for (const LargeFile* file : m_largest.Sorted()) {
    files.Offer(file->size, *file->folder, names.RecordName(file->name).c_str());
  }
  m_largest = LargestFiles();
}

std::uint64_t SavedScan::SizeOf(std::size_t folder) const { return m_folders[folder].record->ownFiles; }

void SavedScan::InsertInto(TreeInserter& tree, FolderStore& folders, const char* driveName,
                           const DisplayText& names) {
  // The records are the scan's folders' from here on, also when memory runs out below.
  folders.Absorb(std::move(m_store));
  std::vector<Folder> inserting = std::exchange(m_folders, {});
  std::vector<InsertedItem> items(inserting.size());
  for (std::size_t i = 0; i < inserting.size(); ++i) {
    FolderRecord& record = *inserting[i].record;
    const std::string name = i == 0 ? std::string(driveName) : names.RecordName(record.name);
    if (name != record.name) folders.Rename(record, name.c_str());
    items[i] = tree.Insert(i == 0 ? kTopLevel : items[inserting[i].parent], record.name, &record);
  }
}

void InsertSavedDrives(std::vector<SavedScan>& scans, TreeInserter& tree, ScanSession& session,
                       const DisplayText& names) {
  char driveName[3] = {DriveTable::kFirstLetter, ':', '\0'};
  for (SavedScan& scan : scans) {
    scan.InsertInto(tree, session.Folders(), driveName, names);
    scan.MoveLargestFilesTo(session.Largest(), names);
    ++driveName[0];
  }
}
