#pragma once
// The folder a path of the engine's form stands for, as the system names
// it: the drive's folder and the real names below it. For the file browser.

#include <string>

#include "path/Path.h"
#include "platform/posix/DriveSet.h"

// Empty when the path has no known drive.
std::string NativePathOf(const DriveTable& drives, const CPath& folder);
