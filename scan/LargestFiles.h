#pragma once
// The largest files a scan has seen, across all its drives: a bounded heap the
// walk offers every file to, so that memory stays the same however many files
// there are. A file is any entry that is not a folder, sized as the totals
// count it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/FolderRecord.h"

struct LargeFile {
  std::uint64_t size;
  const FolderRecord* folder;  // the record of the folder it is in
  std::string name;
  std::uint64_t offered;  // how many files were offered before it
};

class LargestFiles {
 public:
  static constexpr std::size_t kKept = 1000;
  explicit LargestFiles(std::size_t kept = kKept) : m_kept(kept) {}

  // Keeps the file if it is among the largest so far; of equal sizes, the one
  // offered first.
  void Offer(std::uint64_t size, const FolderRecord& folder, const char* name) {
    ++m_offered;
    if (m_heap.size() == m_kept && (m_kept == 0 || size <= m_heap.front().size)) return;
    Keep(size, folder, name);
  }
  // Largest first; equal sizes in the order offered.
  std::vector<const LargeFile*> Sorted() const;
  std::size_t GetCount() const { return m_heap.size(); }
  // Forgets every file below folder, itself included (a folder scanned again).
  void RemoveBelow(const FolderRecord& folder);

 private:
  void Keep(std::uint64_t size, const FolderRecord& folder, const char* name);

  std::size_t m_kept;
  std::uint64_t m_offered = 0;
  std::vector<LargeFile> m_heap;  // the smallest, last offered, at the front
};

// Whether folder lies at or below ancestor, by the records' parent links.
bool IsAtOrBelow(const FolderRecord& folder, const FolderRecord& ancestor);
