#pragma once
// The orders a folder's subfolders can be shown in. Drives always keep theirs.

#include "scan/FolderRecord.h"

enum class FolderOrder {
  Listed,        // as the file system listed them
  LargestFirst,  // by total, largest first; equal totals as listed
};

// True when a comes before its sibling b. Totals count only once the totals
// pass has run.
inline bool ComesBefore(FolderOrder order, const FolderRecord& a, const FolderRecord& b) {
  if (order == FolderOrder::LargestFirst && a.size != b.size) return a.size > b.size;
  return a.place < b.place;
}
