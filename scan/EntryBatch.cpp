#include "scan/EntryBatch.h"

#include <cstring>

void EntryBatch::Add(const DirectoryEntry& entry) {
  const std::size_t offset = m_names.size();
  m_names.append(entry.name, std::strlen(entry.name) + 1);
  try {
    m_items.push_back(Item{offset, entry.isFolder, entry.size});
  } catch (...) {
    m_names.resize(offset);
    throw;
  }
}

DirectoryEntry EntryBatch::At(std::size_t index) const {
  const Item& item = m_items[index];
  DirectoryEntry entry;
  entry.name = m_names.data() + item.nameOffset;
  entry.isFolder = item.isFolder;
  entry.size = item.size;
  return entry;
}

void EntryBatch::Clear() {
  m_items.clear();
  m_names.clear();
}
