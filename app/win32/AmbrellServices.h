#pragma once
// The Windows dialog's services: every fixed drive of the machine, the system's digit
// grouping, and Explorer started on a folder.

#include <cstdint>
#include <functional>

#include "app/AmbrellServices.h"
#include "text/DynString.h"

using ProcessStarter = std::function<std::uint32_t(const CDynString& commandLine, std::uint32_t flags)>;

// Starts explorer.exe on the folder with run, waiting for it as Explorer's own start does.
FolderOpener OpenInExplorerWith(ProcessStarter run);
// Starts explorer.exe on a file's folder with the file selected.
FileShower ShowInExplorerWith(ProcessStarter run);

// Saved drives named by the folders their scans were taken of; a folder opens in
// Explorer, started with run, when its saved path is a full Windows path ('C:\Users',
// '\\server\share') of a folder that exists here.
SavedDrivesOpener SavedDrivesOpenedWith(ProcessStarter run);

AmbrellServices MachineServices();
