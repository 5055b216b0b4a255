#include "scan/LargestFiles.h"

#include <algorithm>

namespace {

// The heap's order: the file to give up first is the "largest" to std::push_heap.
bool GivenUpBefore(const LargeFile& a, const LargeFile& b) {
  if (a.size != b.size) return a.size < b.size;
  return a.offered > b.offered;
}

bool KeptLongerThan(const LargeFile& a, const LargeFile& b) { return GivenUpBefore(b, a); }

}  // namespace

void LargestFiles::Keep(std::uint64_t size, const FolderRecord& folder, const char* name) {
  if (m_heap.size() == m_kept) {
    std::pop_heap(m_heap.begin(), m_heap.end(), KeptLongerThan);
    m_heap.pop_back();
  }
  m_heap.push_back(LargeFile{size, &folder, name, m_offered - 1});
  std::push_heap(m_heap.begin(), m_heap.end(), KeptLongerThan);
}

std::vector<const LargeFile*> LargestFiles::Sorted() const {
  std::vector<const LargeFile*> sorted;
  sorted.reserve(m_heap.size());
  for (const LargeFile& file : m_heap) sorted.push_back(&file);
  std::sort(sorted.begin(), sorted.end(),
            [](const LargeFile* a, const LargeFile* b) { return KeptLongerThan(*a, *b); });
  return sorted;
}

void LargestFiles::RemoveBelow(const FolderRecord& folder) {
  m_heap.erase(std::remove_if(m_heap.begin(), m_heap.end(),
                              [&folder](const LargeFile& file) { return IsAtOrBelow(*file.folder, folder); }),
               m_heap.end());
  std::make_heap(m_heap.begin(), m_heap.end(), KeptLongerThan);
}

bool IsAtOrBelow(const FolderRecord& folder, const FolderRecord& ancestor) {
  for (const FolderRecord* step = &folder; step != nullptr; step = step->parent) {
    if (step == &ancestor) return true;
  }
  return false;
}
