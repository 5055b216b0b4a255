#include "platform/posix/FixedDrives.h"

#include <algorithm>
#include <string>

#include "platform/posix/TextFile.h"

namespace {

bool IsLocalDiskType(const std::string& type) {
  static const char* const kTypes[] = {"ext2", "ext3",  "ext4",     "xfs",    "btrfs",   "bcachefs", "zfs",
                                       "f2fs", "jfs",   "reiserfs", "nilfs2", "vfat",    "msdos",    "exfat",
                                       "ntfs", "ntfs3", "fuseblk",  "hfs",    "hfsplus", "ufs"};
  return std::any_of(std::begin(kTypes), std::end(kTypes), [&](const char* known) { return type == known; });
}

// A container's root is an overlay; overlays elsewhere are views of folders
// that the disk below already holds.
bool IsDiskMount(const MountEntry& mount) {
  return IsLocalDiskType(mount.fsType) || (mount.fsType == "overlay" && mount.mountPoint == "/");
}

// Names below the file system's top: 0 for '/', 1 for '/@home'.
std::size_t Depth(const std::string& root) {
  return root == "/" ? 0 : static_cast<std::size_t>(std::count(root.begin(), root.end(), '/'));
}

// Where the walk of kept would meet the content of mount, which shows a
// folder inside kept's root.
std::string PathInside(const MountEntry& kept, const MountEntry& mount) {
  std::string rest = kept.root == "/" ? mount.root : mount.root.substr(kept.root.size());
  if (rest == "/") rest.clear();
  std::string path = (kept.mountPoint == "/" ? std::string() : kept.mountPoint) + rest;
  return path.empty() ? "/" : path;
}

bool LiesUnderAnyMount(const std::string& path, const MountEntry& kept,
                       const std::vector<MountEntry>& mounts) {
  return std::any_of(mounts.begin(), mounts.end(), [&](const MountEntry& other) {
    return IsStrictlyBelow(other.mountPoint, kept.mountPoint) && IsSameOrBelow(path, other.mountPoint);
  });
}

// The walk of kept reaches mount's content unless a mount point (mount's
// own, say, for a folder bound onto itself) stops it on the way.
bool IsReachableFrom(const MountEntry& mount, const MountEntry& kept, const std::vector<MountEntry>& mounts) {
  if (mount.major != kept.major || mount.minor != kept.minor || !IsSameOrBelow(mount.root, kept.root))
    return false;
  return !LiesUnderAnyMount(PathInside(kept, mount), kept, mounts);
}

// '/' sorts before every other byte, so a mount point's children follow it.
bool PathLess(const std::string& left, const std::string& right) {
  return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                      [](char a, char b) {
                                        const unsigned char x = a == '/' ? 0 : static_cast<unsigned char>(a);
                                        const unsigned char y = b == '/' ? 0 : static_cast<unsigned char>(b);
                                        return x < y;
                                      });
}

std::vector<const MountEntry*> DiskCandidates(const std::vector<MountEntry>& mounts,
                                              const RemovableProbe& isRemovable) {
  std::vector<const MountEntry*> candidates;
  for (const MountEntry& mount : mounts) {
    if (!IsDiskMount(mount) || IsHiddenMount(mount, mounts)) continue;
    if (mount.major != 0 && isRemovable && isRemovable(mount.major, mount.minor)) continue;
    candidates.push_back(&mount);
  }
  return candidates;
}

// The widest view of each file system is kept first, so a bind mount of a
// subfolder never displaces the mount of the whole.
std::vector<const MountEntry*> WithoutDuplicates(std::vector<const MountEntry*> candidates,
                                                 const std::vector<MountEntry>& mounts) {
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const MountEntry* a, const MountEntry* b) { return Depth(a->root) < Depth(b->root); });
  std::vector<const MountEntry*> kept;
  for (const MountEntry* mount : candidates) {
    const bool seen = std::any_of(kept.begin(), kept.end(),
                                  [&](const MountEntry* k) { return IsReachableFrom(*mount, *k, mounts); });
    if (!seen) kept.push_back(mount);
  }
  return kept;
}

bool ReadsOne(const std::string& file) {
  std::string text;
  return ReadWholeFile(file, text) && text.compare(0, 1, "1") == 0;
}

}  // namespace

bool IsRemovableBlockDevice(unsigned major, unsigned minor) {
  const std::string device = "/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor);
  if (ReadsOne(device + "/removable")) return true;
  // A partition has no flag of its own; its disk is the folder above.
  std::string partitionNumber;
  const bool isPartition = ReadWholeFile(device + "/partition", partitionNumber);
  return isPartition && ReadsOne(device + "/../removable");
}

DriveSet FixedDrivesFromMountInfo(std::string_view mountInfo, const RemovableProbe& isRemovable) {
  const std::vector<MountEntry> mounts = ParseMountInfo(mountInfo);
  std::vector<const MountEntry*> drives = WithoutDuplicates(DiskCandidates(mounts, isRemovable), mounts);
  std::stable_sort(drives.begin(), drives.end(), [](const MountEntry* a, const MountEntry* b) {
    return PathLess(a->mountPoint, b->mountPoint);
  });
  DriveSet set;
  for (const MountEntry* drive : drives) {
    if (!set.Add(drive->mountPoint, drive->mountPoint, MountsInside(mounts, drive->mountPoint))) break;
  }
  return set;
}
