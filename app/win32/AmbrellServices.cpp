#include "app/win32/AmbrellServices.h"

#include "platform/Platform.h"
#include "platform/win32/RunProcess.h"
#include "scan/FolderPath.h"

FolderOpener OpenInExplorerWith(ProcessStarter run) {
  return [run = std::move(run)](const CPath& folder) {
    // A browser that cannot be started is not reported.
    if (run) run(ExplorerCommandLine(folder), 0);
  };
}

AmbrellServices MachineServices() {
  return ServicesFromPlatform(std::make_shared<PlatformServices>(OpenFixedDrives()),
                              OpenInExplorerWith([](const CDynString& commandLine, std::uint32_t flags) {
                                return RunProcess(commandLine, flags);
                              }));
}
