#pragma once
// Entries read from a listing ahead of the walk, each name copied, so that
// they outlive the listing's next call. Handed to the walk a batch at a time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "scan/FileSystem.h"

// The memory of batches, kept for the next ones once let go: batches are
// filled on the threads that list and let go on the walk's, thousands a
// second, each in a block of a size class of its own.
class BatchMemory {
 public:
  BatchMemory() = default;
  BatchMemory(const BatchMemory&) = delete;
  BatchMemory& operator=(const BatchMemory&) = delete;
  ~BatchMemory() { Release(); }

  // A block of at least bytes; capacity is set to its size.
  void* Take(std::size_t bytes, std::size_t& capacity);
  void Give(void* block, std::size_t capacity) noexcept;
  // Frees every block kept.
  void Release();

 private:
  static constexpr std::size_t kSmallest = 512;
  static constexpr std::size_t kClasses = 8;           // up to 64 KiB; larger ones are not kept
  static constexpr std::size_t kKeptBytes = 4u << 20;  // a class, at most
  static int ClassOf(std::size_t bytes);

  std::mutex m_mutex;
  std::array<std::vector<void*>, kClasses> m_kept;
};

class EntryBatch {
  struct Item {
    std::size_t nameOffset;
    bool isFolder;
    std::uint64_t size;
  };

 public:
  // Collects a batch on the thread that reads it. Its memory is kept for the
  // next batch, so that a batch costs one block of memory, whatever it holds.
  class Builder {
   public:
    void Add(const DirectoryEntry& entry);
    std::size_t Size() const { return m_items.size(); }
    // What was added, as a batch of its own, in a block from memory (or the
    // heap's when null); the builder is empty after.
    EntryBatch Pack(BatchMemory* memory);
    void Clear();

   private:
    std::vector<Item> m_items;
    std::string m_names;  // each name followed by its terminator
  };

  EntryBatch() = default;
  EntryBatch(EntryBatch&& other) noexcept;
  EntryBatch& operator=(EntryBatch&& other) noexcept;
  EntryBatch(const EntryBatch&) = delete;
  EntryBatch& operator=(const EntryBatch&) = delete;
  ~EntryBatch() { Clear(); }

  std::size_t Size() const { return m_size; }
  // The entry's name stays valid while the batch lives unchanged.
  DirectoryEntry At(std::size_t index) const;
  // Gives the block back.
  void Clear();

 private:
  void* m_block = nullptr;  // the items, then the names
  std::size_t m_capacity = 0;
  BatchMemory* m_memory = nullptr;
  std::size_t m_size = 0;
};
