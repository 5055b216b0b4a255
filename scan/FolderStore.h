#pragma once
// Where the folder records of one scan live: in chunks that never move, with
// their names in an arena beside them, so that a folder costs no allocation of
// its own and every record is freed at once, with the store. One thread adds
// at a time; a record handed to another thread stays where it is.

#include <cstddef>
#include <memory>
#include <vector>

#include "scan/FolderRecord.h"

class FolderStore {
 public:
  FolderStore() = default;
  FolderStore(FolderStore&& other) noexcept;
  FolderStore& operator=(FolderStore&& other) noexcept;
  FolderStore(const FolderStore&) = delete;
  FolderStore& operator=(const FolderStore&) = delete;
  ~FolderStore();

  // A record of size 0 named a copy of name, below parent (null for a drive)
  // at the given place among its subfolders.
  FolderRecord* Add(const char* name, FolderRecord* parent = nullptr, std::uint32_t place = 0);
  // Names the record a copy of name.
  void Rename(FolderRecord& record, const char* name) { record.name = CopyName(name); }
  // Takes over every record of other, where it is; other is left empty.
  void Absorb(FolderStore&& other);
  std::size_t GetCount() const { return m_count; }

 private:
  const char* CopyName(const char* name);
  char* AllocateName(std::size_t bytes);

  std::vector<std::unique_ptr<FolderRecord[]>> m_recordChunks;
  FolderRecord* m_nextRecord = nullptr;  // in the newest chunk
  std::size_t m_recordsLeft = 0;
  std::vector<std::unique_ptr<char[]>> m_nameChunks;
  char* m_nextName = nullptr;
  std::size_t m_nameBytesLeft = 0;
  std::size_t m_count = 0;
};
