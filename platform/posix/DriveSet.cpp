#include "platform/posix/DriveSet.h"

#include "platform/posix/NameMapping.h"

namespace {

std::string MappedRelativePath(const std::string& path, const std::string& folder) {
  const std::size_t start = folder == "/" ? 1 : folder.size() + 1;
  std::string mapped;
  std::size_t begin = start;
  while (begin <= path.size()) {
    std::size_t end = path.find('/', begin);
    if (end == std::string::npos) end = path.size();
    if (end > begin) {
      if (!mapped.empty()) mapped += '\\';
      mapped += MapName(std::string_view(path).substr(begin, end - begin));
    }
    begin = end + 1;
  }
  return mapped;
}

}  // namespace

bool DriveSet::Add(std::string nativeRoot, std::string display, InnerMounts mounts) {
  if (!table.Add(std::move(nativeRoot), std::move(display))) return false;
  innerMounts.push_back(std::move(mounts));
  return true;
}

const InnerMounts* DriveSet::MountsOf(const DriveRoot& drive) const {
  const std::size_t index = static_cast<std::size_t>(drive.letter - DriveTable::kFirstLetter);
  return index < innerMounts.size() ? &innerMounts[index] : nullptr;
}

InnerMounts MountsInside(const std::vector<MountEntry>& mounts, const std::string& folder) {
  InnerMounts inside;
  for (const MountEntry& mount : mounts) {
    if (IsStrictlyBelow(mount.mountPoint, folder) && !IsHiddenMount(mount, mounts)) {
      inside.insert(MappedRelativePath(mount.mountPoint, folder));
    }
  }
  return inside;
}

bool IsHiddenMount(const MountEntry& mount, const std::vector<MountEntry>& mounts) {
  bool parentListed = false;
  for (const MountEntry& other : mounts) parentListed = parentListed || other.id == mount.parentId;
  for (const MountEntry& other : mounts) {
    if (&other == &mount) continue;
    // Stacked on top at the same place.
    if (other.parentId == mount.id && other.mountPoint == mount.mountPoint) return true;
    // Mounted later over a folder above it: had it come first, this one
    // would have been mounted on it, not beside it.
    if (parentListed && other.parentId == mount.parentId &&
        IsStrictlyBelow(mount.mountPoint, other.mountPoint))
      return true;
  }
  return false;
}
