#include "app/qt/AmbrellServices.h"

#include <sys/stat.h>

#include <string>

#include "app/qt/FileManagerBus.h"
#include "platform/posix/FileBrowser.h"
#include "platform/posix/NameMapping.h"
#include "platform/posix/PosixPlatform.h"

namespace {

bool IsFolderHere(const std::string& path) {
  struct stat status;
  return !path.empty() && path[0] == '/' && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The file selected in its folder where the file manager offers that, else the folder.
void ShowFile(const std::string& folder, const std::string& fileName, const std::string& opener) {
  if (folder.empty()) return;
  const std::string file = folder + (folder.back() == '/' ? "" : "/") + UnmapName(fileName);
  if (!ShowItemOnSessionBus(file)) OpenInFileBrowser(folder, opener.c_str());
}

}  // namespace

AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform, const char* opener) {
  PlatformServices& services = *platform;
  AmbrellServices dialogServices = ServicesFromPlatform(
      std::move(platform), [&services, program = std::string(opener)](const CPath& folder) {
        OpenFolderInFileBrowser(services, folder, program.c_str());
      });
  dialogServices.showFile = [&services, program = std::string(opener)](const CPath& folder,
                                                                       const std::string& fileName) {
    ShowFile(NativeFolderPath(services, folder), fileName, program);
  };
  dialogServices.openSavedDrives = SavedDrivesOpenedWith(opener);
  return dialogServices;
}

SavedDrivesOpener SavedDrivesOpenedWith(const char* opener) {
  return [program = std::string(opener)](const std::vector<std::string>& roots) {
    auto platform = std::make_shared<PlatformServices>();
    std::string error;
    // More roots than letters never come: the files are refused before.
    if (!OpenSavedDrives(roots, *platform, error)) return SavedDrives{};
    SavedDrives drives;
    drives.display = std::shared_ptr<const DisplayText>(platform, platform->display.get());
    drives.openFolder = [platform, program](const CPath& folder) {
      const std::string path = NativeFolderPath(*platform, folder);
      if (IsFolderHere(path)) OpenInFileBrowser(path, program.c_str());
    };
    drives.showFile = [platform, program](const CPath& folder, const std::string& fileName) {
      const std::string path = NativeFolderPath(*platform, folder);
      if (IsFolderHere(path)) ShowFile(path, fileName, program);
    };
    drives.fileSystem = std::shared_ptr<FileSystem>(platform, platform->fileSystem.get());
    drives.isHere = [platform](const CPath& folder) {
      return IsFolderHere(NativeFolderPath(*platform, folder));
    };
    return drives;
  };
}
