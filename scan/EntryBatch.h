#pragma once
// Entries read from a listing ahead of the walk, each name copied, so that
// they outlive the listing's next call. Handed to the walk a batch at a time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/FileSystem.h"

class EntryBatch {
 public:
  void Add(const DirectoryEntry& entry);
  std::size_t Size() const { return m_items.size(); }
  // The entry's name stays valid while the batch lives unchanged.
  DirectoryEntry At(std::size_t index) const;
  void Clear();

 private:
  struct Item {
    std::size_t nameOffset;
    bool isFolder;
    std::uint64_t size;
  };
  std::vector<Item> m_items;
  std::string m_names;  // each name followed by its terminator
};
