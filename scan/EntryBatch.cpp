#include "scan/EntryBatch.h"

#include <algorithm>
#include <cstring>

void EntryBatch::Builder::Add(const DirectoryEntry& entry) {
  const std::size_t offset = m_names.size();
  m_names.append(entry.name, std::strlen(entry.name) + 1);
  try {
    m_items.push_back(Item{offset, entry.isFolder, entry.size});
  } catch (...) {
    m_names.resize(offset);
    throw;
  }
}

EntryBatch EntryBatch::Builder::Pack() {
  EntryBatch batch;
  if (m_items.empty()) return batch;
  batch.m_items.reset(new Item[m_items.size()]);
  batch.m_names.reset(new char[m_names.size()]);
  std::copy(m_items.begin(), m_items.end(), batch.m_items.get());
  std::memcpy(batch.m_names.get(), m_names.data(), m_names.size());
  batch.m_size = m_items.size();
  Clear();
  return batch;
}

void EntryBatch::Builder::Clear() {
  m_items.clear();
  m_names.clear();
}

DirectoryEntry EntryBatch::At(std::size_t index) const {
  const Item& item = m_items[index];
  DirectoryEntry entry;
  entry.name = m_names.get() + item.nameOffset;
  entry.isFolder = item.isFolder;
  entry.size = item.size;
  return entry;
}

void EntryBatch::Clear() {
  m_items.reset();
  m_names.reset();
  m_size = 0;
}
