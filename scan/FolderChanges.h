#pragma once
// What changed in each folder since a baseline: a table beside the scan's
// records, keyed by record, so that a record costs nothing more for users
// who never compare, and a label or a sort finds a folder's change at once.
// The change itself is always the difference of the two totals, taken when
// asked, so it stays right when totals are computed again.

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "scan/FolderRecord.h"

enum class ChangeKind {
  None,     // outside the baseline's folders: nothing to compare with
  New,      // below the baseline's folder, missing from the baseline
  Unknown,  // a total on either side stopped at the largest size
  Same,     // equal totals, to the byte
  Grown,
  Shrunk,
};

struct SizeChange {
  ChangeKind kind = ChangeKind::None;
  std::uint64_t bytes = 0;  // by how much, for Grown and Shrunk
};

class FolderChanges {
 public:
  // The folder matched one of the baseline whose total was before.
  void SetMatched(const FolderRecord& folder, std::uint64_t before);
  void SetNew(const FolderRecord& folder);
  void Clear() { m_before.clear(); }
  bool IsEmpty() const { return m_before.empty(); }
  std::size_t Count() const { return m_before.size(); }

  // The folder's change, from its total as it is now.
  SizeChange ChangeOf(const FolderRecord& folder) const;
  // The total the folder had in the baseline; false when it was not there.
  bool BeforeOf(const FolderRecord& folder, std::uint64_t& before) const;

 private:
  struct Before {
    std::uint64_t total;  // 0 for a new folder
    bool isNew;
  };
  std::unordered_map<const FolderRecord*, Before> m_before;
};

// Negative when a's change comes before b's in the order of change: the
// largest growth first, a new folder growing by its whole total, then equal
// totals, then shrinking folders, the smallest loss first; then folders
// whose change is unknown, then those outside the baseline. 0 when the two
// rank alike.
int CompareChanges(const SizeChange& a, const SizeChange& b);
