#include "platform/Platform.h"

#include <windows.h>

#include <memory>

#include "platform/win32/FolderDriveDisplay.h"
#include "platform/win32/NativePath.h"
#include "platform/win32/SeekingDisk.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32NumberLocale.h"
#include "scan/ListingThreads.h"

namespace {

// The folder a drive letter lists: the drive itself, or the folder standing
// in for it (folders set).
std::string RootOf(char letter, const DriveTable* folders) {
  if (folders == nullptr) return std::string{letter, ':', '\\'};
  const char rootText[3] = {letter, ':', '\0'};
  const DriveRoot* drive = folders->Find(rootText);
  return drive != nullptr ? drive->nativeRoot : std::string();
}

// Each drive is listed ahead of the walk; whether its disk seeks, the storage driver
// tells.
std::unique_ptr<FileSystem> DrivesListedAhead(std::unique_ptr<Win32FileSystem> drives,
                                              std::shared_ptr<const DriveTable> folders,
                                              const ListingOptions& listing) {
  auto diskSeeks = [folders](char letter) {
    const std::string root = RootOf(letter, folders.get());
    return !root.empty() && IsOnSeekingDisk(root);
  };
  // The listing threads give way to the walk, which takes what they read, and
  // to the dialog's GUI thread: at one priority with them they took turns.
  const auto yieldToOthers = [] { ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); };
  return ListedAhead(std::move(drives), listing.threads, diskSeeks, yieldToOthers);
}

}  // namespace

PlatformServices OpenFixedDrives(const ListingOptions& listing) {
  PlatformServices services;
  services.fileSystem = DrivesListedAhead(std::make_unique<Win32FileSystem>(), nullptr, listing);
  services.display = std::make_unique<PlainDisplayText>();
  services.locale = std::make_unique<Win32NumberLocale>();
  return services;
}

bool OpenFolders(const std::vector<std::string>& folders, PlatformServices& services, std::string& error,
                 const ListingOptions& listing) {
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
  services.fileSystem = DrivesListedAhead(std::make_unique<Win32FileSystem>(table),
                                          std::make_shared<const DriveTable>(table), listing);
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
