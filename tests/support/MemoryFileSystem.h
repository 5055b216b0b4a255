#pragma once
// A file system held in memory, addressed with the engine's own paths
// ('C:', 'C:\a\b'). Listings can be made to fail or to be empty, and a
// gate can hold the worker when it opens a folder or reads an entry.
// Listings may be opened and read on several threads once it is built.

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "scan/FileSystem.h"
#include "tests/support/Gate.h"

class MemoryFileSystem : public FileSystem {
 public:
  struct Entry {
    std::string name;
    bool isFolder;
    std::uint64_t size;
  };

  void AddDrive(char letter, bool fixed = true);
  // Creates the folder and every missing folder above it.
  void AddFolder(const std::string& path);
  // Creates the file's folder as needed.
  void AddFile(const std::string& path, std::uint64_t size);
  // An entry exactly as given, without a folder of its own behind it.
  void AddRawEntry(const std::string& folder, const Entry& entry);
  // The entry goes from the folder's listing, and a folder's content with it.
  void RemoveEntry(const std::string& folder, const std::string& name);
  void FailListing(const std::string& folder);
  // At most this many listings open at once; one more fails as a real file
  // system does when descriptors run out. 0: no limit.
  void LimitOpenListings(int most) { m_mostOpen = most; }

  // Holds the worker when it opens folder's listing ("C:\a") or, with an
  // entry name, just before that entry is returned ("C:\a|file").
  Gate& GetGate() { return m_gate; }
  static std::string OpenPoint(const std::string& folder) { return folder; }
  static std::string EntryPoint(const std::string& folder, const std::string& name) {
    return folder + "|" + name;
  }

  std::uint32_t GetLogicalDrives() override;
  bool IsFixedDrive(const char* rootText) override;
  ListingResult OpenListing(const char* pattern) override;
  bool GetUsedBytes(const char* rootText, std::uint64_t& used) override;
  // What GetUsedBytes says of the drive; unknown until set.
  void SetUsedBytes(char letter, std::uint64_t used) { m_usedBytes[letter] = used; }

  int OpenCount() const { return m_openCount; }
  // Listings opened and not yet closed: what a real file system would hold
  // descriptors for.
  int OpenListings() const { return m_openListings; }
  // Entries handed out by every listing so far.
  long EntriesRead() const { return m_entriesRead; }

  // What a scan would find, for tests that count on their own: the fixed drives,
  // and a folder's entries in listing order (null when listing it fails).
  std::uint32_t FixedDriveMask() const { return m_driveMask & m_fixedMask; }
  const std::vector<Entry>* ListingOf(const std::string& folder) const;

 private:
  struct Folder {
    std::vector<Entry> entries;
    bool fails = false;
  };
  class Listing;

  Folder& FolderAt(const std::string& path);

  std::uint32_t m_driveMask = 0;
  std::uint32_t m_fixedMask = 0;
  std::map<std::string, Folder> m_folders;
  std::map<char, std::uint64_t> m_usedBytes;
  Gate m_gate;
  std::atomic<int> m_openCount{0};  // listings may be opened on several threads
  std::atomic<int> m_openListings{0};
  std::atomic<long> m_entriesRead{0};
  int m_mostOpen = 0;
};
