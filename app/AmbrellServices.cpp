#include "app/AmbrellServices.h"

AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform, FolderOpener openFolder) {
  AmbrellServices services;
  services.fileSystem = std::shared_ptr<FileSystem>(platform, platform->fileSystem.get());
  services.display = std::shared_ptr<const DisplayText>(platform, platform->display.get());
  services.locale = std::shared_ptr<NumberLocale>(platform, platform->locale.get());
  services.openFolder = std::move(openFolder);
  return services;
}
