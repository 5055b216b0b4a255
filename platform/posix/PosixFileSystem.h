#pragma once
// Presents Linux folders to the engine as drives C: to Z:. A pattern such
// as 'E:\a\b\*' lists the folder b below E:'s root; every name the engine
// sees or gives is in its mapped form (NameMapping.h). The walk never
// crosses into another mount: a mount point inside a drive lists as empty.
// Listings may be opened from several threads at once.

#include <memory>
#include <string_view>

#include "platform/posix/DriveSet.h"
#include "platform/posix/OpenFolderCache.h"
#include "scan/FileSystem.h"

class PosixFileSystem : public FileSystem {
 public:
  // drivesAreFileSystems: each drive is a mounted file system, not a folder
  // within one, so that its used space is what a scan of it comes to.
  explicit PosixFileSystem(std::shared_ptr<const DriveSet> drives, bool drivesAreFileSystems = false);

  std::uint32_t GetLogicalDrives() override;
  bool IsFixedDrive(const char* rootText) override;
  ListingResult OpenListing(const char* pattern) override;
  bool GetUsedBytes(const char* rootText, std::uint64_t& used) override;
  void ForgetExpected() override;

  const DriveSet& Drives() const { return *m_drives; }

 private:
  bool IsKnownMountPoint(const DriveRoot& drive, std::string_view folder) const;

  std::shared_ptr<const DriveSet> m_drives;
  bool m_drivesAreFileSystems;
  OpenFolderCache m_folders;
};

// Splits 'C:\a\b\*' into the folder ('C:\a\b'; 'C:' for the drive's root)
// and the wildcard ('*'), the last name alone. False without a wildcard, or
// when the folder's own name is empty, '.' or '..'; the names above it are
// judged only when the folder is found from the root (OpenFolderCache).
bool SplitPattern(std::string_view pattern, std::string_view& folder, std::string_view& wildcard);
