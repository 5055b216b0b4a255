#pragma once
// The machine's fixed drives: its mounted local disk file systems, each
// once, in mount point order, lettered from C:.

#include <functional>
#include <string_view>

#include "platform/posix/DriveSet.h"

// Whether the block device major:minor sits on removable media.
using RemovableProbe = std::function<bool(unsigned major, unsigned minor)>;

// Asks sysfs; a partition answers for its disk.
bool IsRemovableBlockDevice(unsigned major, unsigned minor);

// Left out: pseudo, memory, image and network file systems, removable
// devices, mounts hidden under others, and mounts whose content a drive
// already kept shows (bind mounts, the same file system mounted twice).
DriveSet FixedDrivesFromMountInfo(std::string_view mountInfo, const RemovableProbe& isRemovable);
