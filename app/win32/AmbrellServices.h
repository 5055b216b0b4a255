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

AmbrellServices MachineServices();
