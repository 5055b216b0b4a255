#include "scan/EntryBatch.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

int BatchMemory::ClassOf(std::size_t bytes) {
  std::size_t size = kSmallest;
  for (std::size_t kind = 0; kind < kClasses; ++kind, size *= 2) {
    if (bytes <= size) return static_cast<int>(kind);
  }
  return -1;
}

void* BatchMemory::Take(std::size_t bytes, std::size_t& capacity) {
  const int kind = ClassOf(bytes);
  if (kind < 0) {
    capacity = bytes;
    return ::operator new(bytes);
  }
  capacity = kSmallest << kind;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<void*>& kept = m_kept[static_cast<std::size_t>(kind)];
    if (!kept.empty()) {
      void* block = kept.back();
      kept.pop_back();
      return block;
    }
  }
  return ::operator new(capacity);
}

void BatchMemory::Give(void* block, std::size_t capacity) noexcept {
  const int kind = ClassOf(capacity);
  if (kind >= 0) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<void*>& kept = m_kept[static_cast<std::size_t>(kind)];
    if (kept.size() < kKeptBytes / capacity) {
      try {
        kept.push_back(block);
        return;
      } catch (const std::bad_alloc&) {
      }
    }
  }
  ::operator delete(block);
}

void BatchMemory::Release() {
  std::array<std::vector<void*>, kClasses> kept;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    kept.swap(m_kept);
  }
  for (const std::vector<void*>& blocks : kept) {
    for (void* block : blocks) ::operator delete(block);
  }
}

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

EntryBatch EntryBatch::Builder::Pack(BatchMemory* memory) {
  EntryBatch batch;
  if (m_items.empty()) return batch;
  const std::size_t itemBytes = m_items.size() * sizeof(Item);
  const std::size_t bytes = itemBytes + m_names.size();
  if (memory != nullptr) {
    batch.m_block = memory->Take(bytes, batch.m_capacity);
  } else {
    batch.m_block = ::operator new(bytes);
    batch.m_capacity = bytes;
  }
  batch.m_memory = memory;
  std::copy(m_items.begin(), m_items.end(), static_cast<Item*>(batch.m_block));
  std::memcpy(static_cast<char*>(batch.m_block) + itemBytes, m_names.data(), m_names.size());
  batch.m_size = m_items.size();
  Clear();
  return batch;
}

void EntryBatch::Builder::Clear() {
  m_items.clear();
  m_names.clear();
}

EntryBatch::EntryBatch(EntryBatch&& other) noexcept
    : m_block(std::exchange(other.m_block, nullptr)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_memory(std::exchange(other.m_memory, nullptr)),
      m_size(std::exchange(other.m_size, 0)) {}

EntryBatch& EntryBatch::operator=(EntryBatch&& other) noexcept {
  if (this != &other) {
    Clear();
    m_block = std::exchange(other.m_block, nullptr);
    m_capacity = std::exchange(other.m_capacity, 0);
    m_memory = std::exchange(other.m_memory, nullptr);
    m_size = std::exchange(other.m_size, 0);
  }
  return *this;
}

DirectoryEntry EntryBatch::At(std::size_t index) const {
  const Item* items = static_cast<const Item*>(m_block);
  const Item& item = items[index];
  DirectoryEntry entry;
  entry.name = static_cast<const char*>(m_block) + m_size * sizeof(Item) + item.nameOffset;
  entry.isFolder = item.isFolder;
  entry.size = item.size;
  return entry;
}

void EntryBatch::Clear() {
  if (m_block != nullptr) {
    if (m_memory != nullptr) {
      m_memory->Give(m_block, m_capacity);
    } else {
      ::operator delete(m_block);
    }
  }
  m_block = nullptr;
  m_capacity = 0;
  m_memory = nullptr;
  m_size = 0;
}
