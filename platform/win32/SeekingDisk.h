#pragma once
// Whether a folder lies on a disk with a seek penalty (one that rotates),
// where listing several folders at once makes a scan slower. The storage
// driver answers; where it cannot (a network share, Wine), the disk counts
// as not seeking.

#include <string>

// folder: an absolute path in UTF-8 ('C:\', 'D:\data').
bool IsOnSeekingDisk(const std::string& folder);

// The device of the volume that a volume path names: 'C:\' -> '\\.\C:',
// '\\?\Volume{...}\' -> '\\?\Volume{...}'.
std::wstring VolumeDeviceOf(const std::wstring& volumePath);
