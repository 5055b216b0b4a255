#pragma once
// The orders a folder's subfolders can be shown in. Drives always keep theirs.

#include "scan/FolderChanges.h"
#include "scan/FolderRecord.h"

enum class FolderOrder {
  Listed,        // as the file system listed them
  LargestFirst,  // by total, largest first; equal totals as listed
  ByChange,      // by change since a baseline (CompareChanges); equal ones as listed
};

// True when a comes before its sibling b. Totals count only once the totals
// pass has run; changes only when given (without them ByChange is Listed).
inline bool ComesBefore(FolderOrder order, const FolderRecord& a, const FolderRecord& b,
                        const FolderChanges* changes = nullptr) {
  if (order == FolderOrder::LargestFirst && a.size != b.size) return a.size > b.size;
  if (order == FolderOrder::ByChange && changes != nullptr) {
    const int compared = CompareChanges(changes->ChangeOf(a), changes->ChangeOf(b));
    if (compared != 0) return compared < 0;
  }
  return a.place < b.place;
}
