#include "platform/Platform.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/DescriptorLimit.h"
#include "platform/posix/FileBrowser.h"
#include "platform/posix/FixedDrives.h"
#include "platform/posix/NativePath.h"
#include "platform/posix/PosixDisplayText.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/SeekingDisk.h"
#include "platform/posix/SystemLocale.h"
#include "platform/posix/ThreadPriority.h"
#include "scan/ListingThreads.h"
#include "scan/ReadAheadFileSystem.h"

namespace {

// Each drive is listed ahead of the walk; whether its disk seeks, sysfs tells.
std::unique_ptr<FileSystem> DrivesListedAhead(std::shared_ptr<const DriveSet> drives,
                                              const ListingOptions& listing, bool drivesAreFileSystems) {
  auto diskSeeks = [drives](char letter) {
    const char rootText[3] = {letter, ':', '\0'};
    const DriveRoot* drive = drives->table.Find(rootText);
    return drive != nullptr && IsOnSeekingDisk(drive->nativeRoot);
  };
  return ListedAhead(std::make_unique<PosixFileSystem>(drives, drivesAreFileSystems), listing.threads,
                     diskSeeks, LowerThisThreadsPriority);
}

PlatformServices ServicesFor(std::shared_ptr<const DriveSet> drives, const ListingOptions& listing,
                             bool drivesAreFileSystems = false) {
  RaiseDescriptorLimit();  // before the file system sizes its cache of open folders
  PlatformServices services;
  services.fileSystem = DrivesListedAhead(drives, listing, drivesAreFileSystems);
  services.display = std::make_unique<PosixDisplayText>(drives);
  services.locale = std::make_unique<PosixNumberLocale>();
  return services;
}

std::string FolderError(const std::string& folder, const char* reason) { return folder + ": " + reason; }

// Mounts below a folder are judged by its real path, the one the mount
// table uses.
InnerMounts MountsBelowFolder(const std::vector<MountEntry>& mounts, const std::string& folder) {
  char* real = ::realpath(folder.c_str(), nullptr);
  if (real == nullptr) return InnerMounts();
  InnerMounts inside = MountsInside(mounts, real);
  std::free(real);
  return inside;
}

bool AddFolder(const std::string& folder, const std::vector<MountEntry>& mounts, DriveSet& drives,
               std::string& error) {
  struct stat status;
  if (::stat(folder.c_str(), &status) != 0) {
    error = FolderError(folder, std::strerror(errno));
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    error = FolderError(folder, "not a folder");
    return false;
  }
  if (!drives.Add(folder, folder, MountsBelowFolder(mounts, folder))) {
    error = "too many folders; at most " + std::to_string(DriveTable::kMaxDrives);
    return false;
  }
  return true;
}

}  // namespace

PlatformServices OpenFixedDrives(const ListingOptions& listing) {
  auto drives = std::make_shared<DriveSet>(FixedDrivesFromMountInfo(ReadMountInfo(), IsRemovableBlockDevice));
  return ServicesFor(std::move(drives), listing, true);
}

bool OpenFolders(const std::vector<std::string>& folders, PlatformServices& services, std::string& error,
                 const ListingOptions& listing) {
  const std::vector<MountEntry> mounts = ParseMountInfo(ReadMountInfo());
  auto drives = std::make_shared<DriveSet>();
  for (const std::string& folder : folders) {
    if (!AddFolder(folder, mounts, *drives, error)) return false;
  }
  services = ServicesFor(std::move(drives), listing);
  return true;
}

// A saved folder that is on this machine is listed as a drive's folder is: never
// into another mount.
bool OpenSavedDrives(const std::vector<std::string>& roots, PlatformServices& services, std::string& error) {
  const std::vector<MountEntry> mounts = ParseMountInfo(ReadMountInfo());
  auto drives = std::make_shared<DriveSet>();
  for (const std::string& root : roots) {
    if (!drives->Add(root, root, MountsBelowFolder(mounts, root))) {
      error = "too many saved scans; at most " + std::to_string(DriveTable::kMaxDrives);
      return false;
    }
  }
  services = ServicesFor(std::move(drives), ListingOptions());
  return true;
}

std::string NativeFolderPath(const PlatformServices& services, const CPath& folder) {
  const FileSystem* listed = services.fileSystem.get();
  if (const auto* ahead = dynamic_cast<const ReadAheadFileSystem*>(listed)) listed = &ahead->Inner();
  const auto* fileSystem = dynamic_cast<const PosixFileSystem*>(listed);
  return fileSystem != nullptr ? NativePathOf(fileSystem->Drives().table, folder) : std::string();
}

bool OpenFolderInFileBrowser(const PlatformServices& services, const CPath& folder, const char* opener) {
  const std::string path = NativeFolderPath(services, folder);
  return !path.empty() && OpenInFileBrowser(path, opener);
}
