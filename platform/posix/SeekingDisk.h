#pragma once
// Whether a folder lies on a disk that seeks (one that rotates). There,
// listing several folders at once makes a scan slower, not faster. Virtual
// disks (virtio, Xen, loop and the like) say they rotate whatever the
// storage behind them is: they are not believed, and count as not seeking.

#include <string>

// Asks the sysfs below sysRoot ('/sys') about block device major:minor,
// through partitions to their disk and through device mapper and RAID
// devices to the disks below them; seeks when any of those does.
bool IsSeekingBlockDevice(const std::string& sysRoot, unsigned major, unsigned minor);

// The disk of the file system holding folder; false when unknown (a
// network or memory file system, btrfs's anonymous devices).
bool IsOnSeekingDisk(const std::string& folder);
