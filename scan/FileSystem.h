#pragma once
// What the scan engine needs of a file system: which drives exist, which of
// them are fixed, and folder listings. Paths and patterns are in the
// engine's own form: 'C:\Windows\*'.

#include <cstddef>
#include <cstdint>
#include <functional>
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

// Calls work(0) to work(count - 1), in no particular order, on the calling
// thread and on any others that are free to help, and returns once every
// call has returned. work must not throw.
using ShareWork = std::function<void(std::size_t count, const std::function<void(std::size_t)>& work)>;

class DirectoryListing {
 public:
  virtual ~DirectoryListing() = default;  // closes the listing
  // The next entry, the first one included; false at the end or on any error.
  virtual bool Next(DirectoryEntry& entry) = 0;
  // Up to `most` entries, the same Next would give, each handed to `take` in
  // order (its name valid during the call only); false once there are no
  // more. A listing that measures each entry with a call of its own may
  // share that work out.
  virtual bool NextMany(std::size_t most, const std::function<void(const DirectoryEntry&)>& take,
                        const ShareWork& share) {
    (void)share;
    DirectoryEntry entry;
    for (std::size_t taken = 0; taken < most; ++taken) {
      if (!Next(entry)) return false;
      take(entry);
    }
    return true;
  }
};

enum class ListingStatus {
  Opened,  // entries follow
  Empty,   // nothing to list (an empty drive root, say): not a failure
  Failed,  // no access, vanished, too long, not a folder
};

struct ListingResult {
  ListingStatus status = ListingStatus::Failed;
  std::unique_ptr<DirectoryListing> listing;  // set only when Opened
  // Failed only because the process ran out of descriptors or handles: the
  // same listing may open once others are closed.
  bool outOfHandles = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Bit n set: drive letter 'A' + n exists.
  virtual std::uint32_t GetLogicalDrives() = 0;
  // rootText is a letter and a colon, 'C:'. Only fixed drives are scanned.
  virtual bool IsFixedDrive(const char* rootText) = 0;
  virtual ListingResult OpenListing(const char* pattern) = 0;
  // The bytes in use on the file system of the drive, when the drive is
  // that whole file system: what a scan of it will come to, roughly. False
  // (the default) when unknown, or when the drive stands for a folder.
  virtual bool GetUsedBytes(const char* rootText, std::uint64_t& used) {
    (void)rootText;
    (void)used;
    return false;
  }

  // Hints for a file system that lists ahead of the walk. The walk names
  // the folders it has queued on a drive, as many ahead as this asks for
  // (rootText 'C:'; 0, the default, asks for none), in the order it will
  // open them. A named folder the walk never opens is forgotten when it
  // opens a later one.
  virtual std::size_t ListingsAhead(const char* rootText) const {
    (void)rootText;
    return 0;
  }
  virtual void ExpectListing(const char* pattern) { (void)pattern; }
  // The walk of a drive has ended (or was aborted) and its queue is gone:
  // nothing named so far will be opened. Releases what was held for it;
  // never throws.
  virtual void ForgetExpected() {}
};
