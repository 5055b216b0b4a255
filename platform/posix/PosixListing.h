#pragma once
// The entries of one open folder, read in large batches straight from the
// kernel. Folders are known from the entry type alone; everything else is
// measured with lstat semantics: a symbolic link is a non-folder of its own
// length, and nothing is ever opened or followed.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/posix/HeldFolders.h"
#include "scan/FileSystem.h"

struct dirent64;

class PosixListing : public DirectoryListing {
 public:
  // Shares the open folder (kept open meanwhile as its subfolders' parent,
  // say). Reads ahead to its first entry, so that a folder with nothing in it
  // comes back Empty, and one that cannot be read or searched Failed.
  static ListingResult Open(SharedFd folder);

  bool Next(DirectoryEntry& entry) override;

  explicit PosixListing(SharedFd folder);

 private:
  // The next record besides '.' and '..'; null at the end or on an error.
  const dirent64* NextRecord();
  bool ReadBatch();
  // False for an entry gone since it was listed.
  bool Describe(const dirent64& record, DirectoryEntry& entry);

  static constexpr std::size_t kBufferBytes = 32 * 1024;
  SharedFd m_folder;
  std::unique_ptr<std::uint64_t[]> m_buffer;  // 8-byte aligned for the records
  std::size_t m_filled = 0;
  std::size_t m_offset = 0;
  bool m_atEnd = false;
  bool m_failed = false;
  const dirent64* m_first = nullptr;  // read ahead by Open
  std::string m_mappedName;
};
