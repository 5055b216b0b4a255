#pragma once
// What the Linux dialog shows, from its command line: every local disk when given
// nothing, each folder given as a drive of its own, or the saved scans given
// (arguments that are regular files), each a drive.

#include <string>
#include <vector>

#include "app/SavedScanFiles.h"
#include "platform/Platform.h"

// False, with a message naming the argument (and for a saved scan the line and
// column), when a folder is missing, a file does not read, or folders and saved scans
// are mixed. saved stays empty unless saved scans were given.
bool OpenArguments(const std::vector<std::string>& arguments, PlatformServices& platform, SavedScanSet& saved,
                   std::string& error);
