#pragma once
// The drives this layer presents, with the mount points inside each: the
// walk lists those as empty folders so that it never crosses into another
// file system.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/posix/MountInfo.h"
#include "scan/DriveTable.h"

// Paths relative to a drive in the engine's form: 'home', 'var\lib\docker'.
using InnerMounts = std::set<std::string, std::less<>>;

struct DriveSet {
  DriveTable table;
  std::vector<InnerMounts> innerMounts;  // one per drive, in the table's order

  // False when every letter is taken.
  bool Add(std::string nativeRoot, std::string display, InnerMounts mounts);
  const InnerMounts* MountsOf(const DriveRoot& drive) const;
};

// The mount points strictly below folder (an absolute path without '..').
InnerMounts MountsInside(const std::vector<MountEntry>& mounts, const std::string& folder);

// True when another mount has been stacked on this one, or on a folder
// above its mount point: nothing of it can be reached by path.
bool IsHiddenMount(const MountEntry& mount, const std::vector<MountEntry>& mounts);
