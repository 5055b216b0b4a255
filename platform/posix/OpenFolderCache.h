#pragma once
// Opens the folders of a walk by their paths in the engine's form, each
// relative to its parent's descriptor, so that the kernel never resolves a
// long path: the cost of an open does not grow with depth, and folders past
// PATH_MAX open like any other. A folder found to hold subfolders is kept
// open a while as their parent; in breadth-first order the next folders
// are its children, its siblings' and its cousins'. Thread-safe: the
// threads that list ahead of the walk share it.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/HeldFolders.h"

class OpenFolderCache {
 public:
  // At most maxHeld descriptors are kept besides those in use; 0 keeps a
  // quarter of what the process may open, at most 4,096, so that a low
  // limit leaves most of its descriptors to the listings. Breadth first, a
  // parent is needed again a whole level after it was listed: held for
  // fewer folders than a level has parents, each would be opened twice.
  explicit OpenFolderCache(std::size_t maxHeld = 0);

  // Opens the folder at path for reading its entries: 'C:' is nativeRoot
  // itself, 'C:\a\b' the folder b below it (names in the engine's form,
  // mapped back here). Symbolic links are never followed below the root.
  // When descriptors run short, those kept are given back and the open is
  // tried again. Null with errno set on failure; EXDEV for a folder below
  // the root that is the root of another mount, which is not entered.
  SharedFd OpenForListing(const std::string& nativeRoot, std::string_view path);

  // The folder at path, opened for listing, holds subfolders: they are to
  // be opened relative to it.
  void KeepAsParent(std::string_view path, SharedFd folder);

  // Drops every descriptor kept.
  void Clear();

 private:
  SharedFd TryOpenForListing(const std::string& nativeRoot, std::string_view path, int& error);
  // The folder at path opened for use as a parent (O_PATH), kept.
  SharedFd ParentAt(const std::string& nativeRoot, std::string_view path, int& error);
  SharedFd FindOrOpenParent(const std::string& nativeRoot, std::string_view path, int& error);
  SharedFd Kept(std::string_view path, int fd, int& error);
  // What was kept before is no longer to be found through a thread's memory.
  void StartAfresh();

  HeldFolders m_held;
  // Each thread remembers the last parent it found (siblings come in runs),
  // for as long as this stays what it was then.
  std::atomic<std::uint64_t> m_generation{0};
};

// EMFILE or ENFILE: the process or the system has no descriptor to spare.
bool IsOutOfDescriptors(int error);
