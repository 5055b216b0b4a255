#include "scan/FolderChanges.h"

void FolderChanges::SetMatched(const FolderRecord& folder, std::uint64_t before) {
  m_before[&folder] = Before{before, false};
}

void FolderChanges::SetNew(const FolderRecord& folder) { m_before[&folder] = Before{0, true}; }

bool FolderChanges::BeforeOf(const FolderRecord& folder, std::uint64_t& before) const {
  const auto found = m_before.find(&folder);
  if (found == m_before.end() || found->second.isNew) return false;
  before = found->second.total;
  return true;
}

SizeChange FolderChanges::ChangeOf(const FolderRecord& folder) const {
  const auto found = m_before.find(&folder);
  if (found == m_before.end()) return SizeChange{};
  const std::uint64_t now = folder.size;
  if (found->second.isNew) return SizeChange{ChangeKind::New, now};
  const std::uint64_t before = found->second.total;
  // A capped total is "this or more": no difference can be told.
  if (now == kLargestSize || before == kLargestSize) return SizeChange{ChangeKind::Unknown, 0};
  if (now == before) return SizeChange{ChangeKind::Same, 0};
  if (now > before) return SizeChange{ChangeKind::Grown, now - before};
  return SizeChange{ChangeKind::Shrunk, before - now};
}

namespace {

// Changes that can be told ordered as a number with a sign; then the rest.
struct ChangeRank {
  int group;  // 0: a number, 1: unknown, 2: outside
  bool negative;
  std::uint64_t magnitude;
};

ChangeRank RankOf(const SizeChange& change) {
  switch (change.kind) {
    case ChangeKind::New:
    case ChangeKind::Grown:
      return ChangeRank{0, false, change.bytes};
    case ChangeKind::Same:
      return ChangeRank{0, false, 0};
    case ChangeKind::Shrunk:
      return ChangeRank{0, true, change.bytes};
    case ChangeKind::Unknown:
      return ChangeRank{1, false, 0};
    case ChangeKind::None:
      break;
  }
  return ChangeRank{2, false, 0};
}

}  // namespace

int CompareChanges(const SizeChange& a, const SizeChange& b) {
  const ChangeRank x = RankOf(a);
  const ChangeRank y = RankOf(b);
  if (x.group != y.group) return x.group < y.group ? -1 : 1;
  if (x.negative != y.negative) return x.negative ? 1 : -1;
  if (x.magnitude == y.magnitude) return 0;
  const bool xFirst = x.negative ? x.magnitude < y.magnitude : x.magnitude > y.magnitude;
  return xFirst ? -1 : 1;
}
