#pragma once
// What the Linux front end needs of this layer beyond platform/Platform.h.

#include <string>

#include "path/Path.h"
#include "platform/Platform.h"

// The folder of a path of the engine's form as the system names it, for
// services opened by OpenFixedDrives or OpenFolders; empty when unknown.
std::string NativeFolderPath(const PlatformServices& services, const CPath& folder);

// Opens that folder in the desktop's file browser (opener, found on PATH);
// false when it could not be started.
bool OpenFolderInFileBrowser(const PlatformServices& services, const CPath& folder,
                             const char* opener = "xdg-open");
