#include "app/qt/AmbrellServices.h"

#include <string>

#include "platform/posix/PosixPlatform.h"

AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform, const char* opener) {
  AmbrellServices services;
  services.fileSystem = std::shared_ptr<FileSystem>(platform, platform->fileSystem.get());
  services.display = std::shared_ptr<const DisplayText>(platform, platform->display.get());
  services.locale = std::shared_ptr<NumberLocale>(platform, platform->locale.get());
  services.openFolder = [platform, program = std::string(opener)](const CPath& folder) {
    OpenFolderInFileBrowser(*platform, folder, program.c_str());
  };
  return services;
}
