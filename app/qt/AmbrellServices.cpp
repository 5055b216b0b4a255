#include "app/qt/AmbrellServices.h"

#include <string>

#include "platform/posix/PosixPlatform.h"

AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform, const char* opener) {
  PlatformServices& services = *platform;
  return ServicesFromPlatform(std::move(platform),
                              [&services, program = std::string(opener)](const CPath& folder) {
                                OpenFolderInFileBrowser(services, folder, program.c_str());
                              });
}
