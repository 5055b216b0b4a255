#pragma once
// The drives the engine walks: the machine's fixed drives, or folders that
// stand in for drives C:, D:, ... (a pattern 'C:\a\*' then lists the
// first folder's 'a').

#include <string>

#include "scan/DriveTable.h"
#include "scan/FileSystem.h"

class Win32FileSystem : public FileSystem {
 public:
  Win32FileSystem() = default;  // the machine's drives
  explicit Win32FileSystem(DriveTable folders);

  std::uint32_t GetLogicalDrives() override;
  bool IsFixedDrive(const char* rootText) override;
  ListingResult OpenListing(const char* pattern) override;
  // Only for the machine's drives: a folder drive is part of a volume.
  bool GetUsedBytes(const char* rootText, std::uint64_t& used) override;

 private:
  bool m_useFolders = false;
  DriveTable m_folders;
};

// The native pattern of an engine pattern on a folder drive; false for a
// drive the table does not hold.
bool MapToFolderDrive(const DriveTable& folders, const char* pattern, std::string& nativePattern);
