#pragma once
// Entries read from a listing ahead of the walk, each name copied, so that
// they outlive the listing's next call. Handed to the walk a batch at a time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scan/FileSystem.h"

class EntryBatch {
  struct Item {
    std::size_t nameOffset;
    bool isFolder;
    std::uint64_t size;
  };

 public:
  // Collects a batch on the thread that reads it. Its memory is kept for the
  // next batch, so that a batch costs two allocations, whatever it holds,
  // and the thread that frees them (the walk's) frees only those two.
  class Builder {
   public:
    void Add(const DirectoryEntry& entry);
    std::size_t Size() const { return m_items.size(); }
    // What was added, as a batch of its own; the builder is empty after.
    EntryBatch Pack();
    void Clear();

   private:
    std::vector<Item> m_items;
    std::string m_names;  // each name followed by its terminator
  };

  std::size_t Size() const { return m_size; }
  // The entry's name stays valid while the batch lives unchanged.
  DirectoryEntry At(std::size_t index) const;
  void Clear();

 private:
  std::unique_ptr<Item[]> m_items;
  std::unique_ptr<char[]> m_names;
  std::size_t m_size = 0;
};
