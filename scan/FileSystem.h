#pragma once
// What the scan engine needs of a file system: which drives exist, which of
// them are fixed, and folder listings. Paths and patterns are in the
// engine's own form: 'C:\Windows\*'.

#include <cstdint>
#include <memory>

// '.' and '..' name a folder itself and its parent: never entries to enter.
inline bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

struct DirectoryEntry {
  const char* name = nullptr;  // valid until the listing's next call
  bool isFolder = false;
  std::uint64_t size = 0;  // bytes; meaningful for non-folders only
};

class DirectoryListing {
 public:
  virtual ~DirectoryListing() = default;  // closes the listing
  // The next entry, the first one included; false at the end or on any error.
  virtual bool Next(DirectoryEntry& entry) = 0;
};

enum class ListingStatus {
  Opened,  // entries follow
  Empty,   // nothing to list (an empty drive root, say): not a failure
  Failed,  // no access, vanished, too long, not a folder
};

struct ListingResult {
  ListingStatus status = ListingStatus::Failed;
  std::unique_ptr<DirectoryListing> listing;  // set only when Opened
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Bit n set: drive letter 'A' + n exists.
  virtual std::uint32_t GetLogicalDrives() = 0;
  // rootText is a letter and a colon, 'C:'. Only fixed drives are scanned.
  virtual bool IsFixedDrive(const char* rootText) = 0;
  virtual ListingResult OpenListing(const char* pattern) = 0;
};
