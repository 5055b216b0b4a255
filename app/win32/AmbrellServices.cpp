#include "app/win32/AmbrellServices.h"

#include "platform/Platform.h"
#include "platform/win32/RunProcess.h"

AmbrellServices MachineServices() {
  PlatformServices platform = OpenFixedDrives();
  AmbrellServices services;
  services.fileSystem = std::move(platform.fileSystem);
  services.locale = std::move(platform.locale);
  services.display = std::move(platform.display);
  services.runProcess = [](const CDynString& commandLine, std::uint32_t flags) {
    return RunProcess(commandLine, flags);
  };
  return services;
}
