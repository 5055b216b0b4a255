#include "scan/FolderStore.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// A chunk starts small, so that a one-folder scan stays small, and grows to a
// size where allocating is lost in the cost of listing a folder.
constexpr std::size_t kFirstRecordChunk = 16;
constexpr std::size_t kLargestRecordChunk = 4096;
constexpr std::size_t kNameChunkBytes = 64 * 1024;
// A name this long gets a block of its own rather than wasting a chunk's rest.
constexpr std::size_t kOwnBlockBytes = kNameChunkBytes / 8;

// Makes room for one more chunk first, so that pushing the new one cannot
// throw and leak it.
template <typename Chunk>
Chunk* AddChunk(std::vector<std::unique_ptr<Chunk[]>>& chunks, std::size_t size) {
  if (chunks.size() == chunks.capacity()) chunks.reserve(2 * chunks.size() + 4);
  chunks.push_back(std::make_unique<Chunk[]>(size));
  return chunks.back().get();
}

}  // namespace

FolderStore::FolderStore(FolderStore&& other) noexcept { *this = std::move(other); }

FolderStore& FolderStore::operator=(FolderStore&& other) noexcept {
  if (this != &other) {
    m_recordChunks = std::exchange(other.m_recordChunks, {});
    m_nextRecord = std::exchange(other.m_nextRecord, nullptr);
    m_recordsLeft = std::exchange(other.m_recordsLeft, 0);
    m_nameChunks = std::exchange(other.m_nameChunks, {});
    m_nextName = std::exchange(other.m_nextName, nullptr);
    m_nameBytesLeft = std::exchange(other.m_nameBytesLeft, 0);
    m_count = std::exchange(other.m_count, 0);
  }
  return *this;
}

// The one place records are freed: with the chunks that hold them.
FolderStore::~FolderStore() = default;

FolderRecord* FolderStore::Add(const char* name, FolderRecord* parent, std::uint32_t place) {
  const char* copy = CopyName(name);
  if (m_recordsLeft == 0) {
    const std::size_t size =
        std::min(kLargestRecordChunk, kFirstRecordChunk << std::min<std::size_t>(m_recordChunks.size(), 8));
    m_nextRecord = AddChunk(m_recordChunks, size);
    m_recordsLeft = size;
  }
  FolderRecord* record = m_nextRecord++;
  --m_recordsLeft;
  ++m_count;
  record->name = copy;
  record->parent = parent;
  record->place = place;
  return record;
}

const char* FolderStore::CopyName(const char* name) {
  const std::size_t bytes = std::strlen(name) + 1;
  char* copy = AllocateName(bytes);
  std::memcpy(copy, name, bytes);
  return copy;
}

char* FolderStore::AllocateName(std::size_t bytes) {
  if (bytes >= kOwnBlockBytes) return AddChunk(m_nameChunks, bytes);
  if (bytes > m_nameBytesLeft) {
    m_nextName = AddChunk(m_nameChunks, kNameChunkBytes);
    m_nameBytesLeft = kNameChunkBytes;
  }
  char* name = m_nextName;
  m_nextName += bytes;
  m_nameBytesLeft -= bytes;
  return name;
}

// The other store's chunks join this one's list; this store goes on filling
// its own newest chunk.
void FolderStore::Absorb(FolderStore&& other) {
  if (&other == this) return;
  m_recordChunks.reserve(m_recordChunks.size() + other.m_recordChunks.size());
  m_nameChunks.reserve(m_nameChunks.size() + other.m_nameChunks.size());
  for (auto& chunk : other.m_recordChunks) m_recordChunks.push_back(std::move(chunk));
  for (auto& chunk : other.m_nameChunks) m_nameChunks.push_back(std::move(chunk));
  m_count += other.m_count;
  other = FolderStore();
}
