#include "platform/Platform.h"

#include <memory>

#include "platform/win32/FolderDriveDisplay.h"
#include "platform/win32/NativePath.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32NumberLocale.h"

PlatformServices OpenFixedDrives() {
  PlatformServices services;
  services.fileSystem = std::make_unique<Win32FileSystem>();
  services.display = std::make_unique<PlainDisplayText>();
  services.locale = std::make_unique<Win32NumberLocale>();
  return services;
}

bool OpenFolders(const std::vector<std::string>& folders, PlatformServices& services, std::string& error) {
  DriveTable table;
  for (const std::string& folder : folders) {
    std::string fullPath;
    if (!GetFullNativePath(folder, fullPath) || !IsExistingFolder(fullPath)) {
      error = folder + ": no such folder";
      return false;
    }
    if (!table.Add(fullPath, folder)) {
      error = "too many folders; at most " + std::to_string(DriveTable::kMaxDrives);
      return false;
    }
  }
  services.fileSystem = std::make_unique<Win32FileSystem>(table);
  services.display = std::make_unique<FolderDriveDisplay>(std::move(table));
  services.locale = std::make_unique<Win32NumberLocale>();
  return true;
}

bool OpenSavedDrives(const std::vector<std::string>& roots, PlatformServices& services, std::string& error) {
  DriveTable table;
  for (const std::string& root : roots) {
    if (!table.Add(root, root)) {
      error = "too many saved scans; at most " + std::to_string(DriveTable::kMaxDrives);
      return false;
    }
  }
  services.fileSystem = std::make_unique<Win32FileSystem>(table);
  services.display = std::make_unique<FolderDriveDisplay>(std::move(table));
  services.locale = std::make_unique<Win32NumberLocale>();
  return true;
}
