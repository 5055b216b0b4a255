#pragma once
// The entries of one open folder, read in large batches straight from the
// kernel. Folders are known from the entry type alone; everything else is
// measured with lstat semantics: a symbolic link is a non-folder of its own
// length, and nothing is ever opened or followed.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/HeldFolders.h"
#include "platform/posix/OpenFolderCache.h"
#include "scan/FileSystem.h"

struct dirent64;

class PosixListing : public DirectoryListing {
 public:
  // Shares the open folder. Reads ahead to its first entry, so that a folder with
  // nothing in it comes back Empty, and one that cannot be read or searched Failed.
  // With parents given, the folder (at path, in the engine's form) is kept there as a
  // parent once an entry shows it holds a folder.
  static ListingResult Open(SharedFd folder, OpenFolderCache* parents = nullptr, std::string_view path = {});

  bool Next(DirectoryEntry& entry) override;
  // Takes records from one read of the kernel's at a time, and measures
  // those that need it on as many threads as share offers.
  bool NextMany(std::size_t most, const std::function<void(const DirectoryEntry&)>& take,
                const ShareWork& share) override;

  PosixListing(SharedFd folder, OpenFolderCache* parents, std::string_view path);
  PosixListing(const PosixListing&) = delete;
  PosixListing& operator=(const PosixListing&) = delete;
  ~PosixListing() override;

  // A listing a folder: each thread keeps the memory of those it let go.
  static void* operator new(std::size_t size);
  static void operator delete(void* listing, std::size_t size) noexcept;

 private:
  // A record and what measuring it found.
  struct Measured {
    const dirent64* record = nullptr;
    DirectoryEntry entry;
    bool present = false;
    bool done = false;  // measured already
  };

  // The next record besides '.' and '..'; null at the end or on an error.
  const dirent64* NextRecord();
  bool ReadBatch();
  bool MaySearch();
  // The next record in what was read already; null when it is used up.
  const dirent64* NextRecordRead();
  // The pending record, else the next one (read from the kernel when may
  // refill, else only from what was read); its record is null at the end.
  Measured TakePending(bool mayRefill);
  // A non-folder's size; false when it is gone. Safe on several threads at once.
  bool Measure(const dirent64& record, DirectoryEntry& entry) const;
  void Name(const dirent64& record, DirectoryEntry& entry);

  static constexpr std::size_t kBufferBytes = 32 * 1024;
  SharedFd m_folder;
  std::unique_ptr<std::uint64_t[]> m_buffer;  // 8-byte aligned for the records
  std::size_t m_filled = 0;
  std::size_t m_offset = 0;
  bool m_atEnd = false;
  bool m_failed = false;
  // A record read and not yet handed out: Open's first (measured there when it
  // told whether the folder may be searched), or the one past NextMany's most.
  Measured m_pending;
  std::string m_mappedName;
  OpenFolderCache* m_parents;  // null once the folder was offered as a parent
  std::string m_path;          // empty without parents
};
