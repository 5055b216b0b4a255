#include "saved/SavedScan.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "scan/FolderRecord.h"

namespace {

void RenameRecord(FolderRecord& record, const std::string& name) {
  char* copy = new char[name.size() + 1];
  std::memcpy(copy, name.c_str(), name.size() + 1);
  delete[] record.name;
  record.name = copy;
}

}  // namespace

SavedScan::SavedScan(SavedScan&& other) noexcept
    : m_rootName(std::move(other.m_rootName)), m_folders(std::move(other.m_folders)) {
  other.m_folders.clear();
}

SavedScan& SavedScan::operator=(SavedScan&& other) noexcept {
  if (this != &other) {
    FreeRecords();
    m_rootName = std::move(other.m_rootName);
    m_folders = std::move(other.m_folders);
    other.m_folders.clear();
  }
  return *this;
}

SavedScan::~SavedScan() { FreeRecords(); }

void SavedScan::FreeRecords() {
  for (Folder& folder : m_folders) DeleteFolderRecord(folder.record);
  m_folders.clear();
}

std::uint64_t SavedScan::UnreadableFolders() const {
  std::uint64_t count = 0;
  for (const Folder& folder : m_folders)
    count += folder.record != nullptr && folder.record->unreadable ? 1 : 0;
  return count;
}

std::size_t SavedScan::AddFolder(std::size_t parent, const std::string& name, bool unreadable) {
  // Room first, so that push_back cannot throw while the record has no owner.
  if (m_folders.size() == m_folders.capacity())
    m_folders.reserve(std::max<std::size_t>(64, m_folders.size() * 2));
  FolderRecord* record = NewFolderRecord(name.c_str());
  record->unreadable = unreadable;
  m_folders.push_back(Folder{parent, record});
  if (m_folders.size() == 1) m_rootName = name;
  return m_folders.size() - 1;
}

void SavedScan::AddSize(std::size_t folder, std::uint64_t size) {
  FolderRecord& record = *m_folders[folder].record;
  ::AddSize(record.ownFiles, size);  // stops at the largest size, as a scan's sizes do
}

std::uint64_t SavedScan::SizeOf(std::size_t folder) const { return m_folders[folder].record->ownFiles; }

void SavedScan::InsertInto(TreeInserter& tree, const char* driveName, const DisplayText& names) {
  std::vector<InsertedItem> items(m_folders.size());
  for (std::size_t i = 0; i < m_folders.size(); ++i) {
    Folder& folder = m_folders[i];
    const std::string name = i == 0 ? std::string(driveName) : names.RecordName(folder.record->name);
    if (name != folder.record->name) RenameRecord(*folder.record, name);
    items[i] = tree.Insert(i == 0 ? kTopLevel : items[folder.parent], folder.record->name, folder.record);
    folder.record = nullptr;  // the tree's now
  }
  m_folders.clear();
}
