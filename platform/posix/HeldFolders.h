#pragma once
// Descriptors of folders opened lately, by their path in the engine's form
// ('C:\a\b'), so that a subfolder opens relative to its parent with one call
// however deep it lies. The most recently used are kept. Shared by every
// thread that lists: a descriptor handed out stays open until its last user
// lets it go, even once the cache has dropped it.

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/posix/UniqueFd.h"

using SharedFd = std::shared_ptr<const UniqueFd>;

class HeldFolders {
 public:
  // At most maxHeld descriptors, and keys of at most maxKeyBytes in all:
  // paths thousands of levels deep are long, and holding megabytes of them
  // made a 2,000-level chain 70% slower to scan. 384 KiB holds 4,096 paths
  // of 96 bytes (those of /usr average 61).
  explicit HeldFolders(std::size_t maxHeld = 64, std::size_t maxKeyBytes = 384u << 10);

  SharedFd Find(std::string_view path);
  void Keep(std::string_view path, SharedFd folder);
  // For want of descriptors: drops every one held and holds half as many
  // from now on. False when none was held, so nothing was given back.
  bool GiveBack();
  // Drops every descriptor; the limits are restored.
  void Clear();
  std::size_t HeldCount();

 private:
  // Paths thousands of levels deep share long beginnings: their ends and
  // lengths tell them apart, and a hash of the whole would cost as much as
  // the rest of an open.
  struct PathEndHash {
    std::size_t operator()(std::string_view path) const;
  };
  struct Held;
  using Order = std::list<Held>;  // the most recently used first
  using Index = std::unordered_map<std::string_view, Order::iterator, PathEndHash>;
  struct Held {
    std::string path;
    SharedFd folder;
    Index::iterator indexed;
  };

  // Moves the least recently used entry to dropped, to be freed once unlocked.
  void DropLeastRecent(Order& dropped);
  void DropAll();

  std::mutex m_mutex;
  const std::size_t m_maxHeldAtStart;
  std::size_t m_maxHeld;
  const std::size_t m_maxKeyBytes;
  std::size_t m_keyBytes = 0;
  Order m_order;
  Index m_index;  // keys point into m_order
};
