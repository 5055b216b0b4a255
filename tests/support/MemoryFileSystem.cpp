#include "tests/support/MemoryFileSystem.h"

#include <algorithm>
#include <iterator>

namespace {

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LeafOf(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

class MemoryFileSystem::Listing : public DirectoryListing {
 public:
  Listing(const std::string& folder, const std::vector<Entry>& entries, Gate& gate, std::atomic<int>& open,
          std::atomic<long>& read)
      : m_folder(folder), m_entries(entries), m_gate(gate), m_open(open), m_read(read) {}
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;
  ~Listing() override { --m_open; }  // counted in when opened

  bool Next(DirectoryEntry& entry) override {
    if (m_next == m_entries.size()) return false;
    const Entry& found = m_entries[m_next++];
    m_gate.Pass(EntryPoint(m_folder, found.name));
    entry.name = found.name.c_str();
    entry.isFolder = found.isFolder;
    entry.size = found.size;
    ++m_read;
    return true;
  }

  // As a lister that measures each entry with a call of its own: the sizes
  // are read on whatever threads share offers, then handed out in order.
  bool NextMany(std::size_t most, const std::function<void(const DirectoryEntry&)>& take,
                const ShareWork& share) override {
    const std::size_t first = m_next;
    const std::size_t count = std::min(most, m_entries.size() - first);
    if (count == 0) return false;
    m_sizes.assign(count, 0);
    share(count, [this, first](std::size_t i) { m_sizes[i] = m_entries[first + i].size; });
    DirectoryEntry entry;
    for (std::size_t i = 0; i < count && Next(entry); ++i) {
      entry.size = m_sizes[i];
      take(entry);
    }
    return true;
  }

 private:
  std::string m_folder;
  const std::vector<Entry>& m_entries;
  Gate& m_gate;
  std::atomic<int>& m_open;
  std::atomic<long>& m_read;
  std::size_t m_next = 0;
  std::vector<std::uint64_t> m_sizes;
};

void MemoryFileSystem::AddDrive(char letter, bool fixed) {
  const std::uint32_t bit = 1u << (letter - 'A');
  m_driveMask |= bit;
  if (fixed) m_fixedMask |= bit;
  FolderAt(std::string(1, letter) + ":");
}

void MemoryFileSystem::RemoveEntry(const std::string& folder, const std::string& name) {
  std::vector<Entry>& entries = FolderAt(folder).entries;
  entries.erase(
      std::remove_if(entries.begin(), entries.end(), [&](const Entry& entry) { return entry.name == name; }),
      entries.end());
  const std::string path = folder + "\\" + name;
  // Every path that starts with the entry's is in one run of the map; 'C:\a b' may sort
  // between 'C:\a' and 'C:\a\x'.
  for (auto below = m_folders.lower_bound(path);
       below != m_folders.end() && below->first.rfind(path, 0) == 0;) {
    const bool inside = below->first.size() == path.size() || below->first[path.size()] == '\\';
    below = inside ? m_folders.erase(below) : std::next(below);
  }
}

MemoryFileSystem::Folder& MemoryFileSystem::FolderAt(const std::string& path) {
  auto found = m_folders.find(path);
  if (found != m_folders.end()) return found->second;
  const std::string parent = ParentOf(path);
  if (!parent.empty()) FolderAt(parent).entries.push_back(Entry{LeafOf(path), true, 0});
  return m_folders[path];
}

void MemoryFileSystem::AddFolder(const std::string& path) { FolderAt(path); }

void MemoryFileSystem::AddFile(const std::string& path, std::uint64_t size) {
  FolderAt(ParentOf(path)).entries.push_back(Entry{LeafOf(path), false, size});
}

void MemoryFileSystem::AddRawEntry(const std::string& folder, const Entry& entry) {
  FolderAt(folder).entries.push_back(entry);
}

const std::vector<MemoryFileSystem::Entry>* MemoryFileSystem::ListingOf(const std::string& folder) const {
  auto found = m_folders.find(folder);
  if (found == m_folders.end() || found->second.fails) return nullptr;
  return &found->second.entries;
}

void MemoryFileSystem::FailListing(const std::string& folder) { FolderAt(folder).fails = true; }

std::uint32_t MemoryFileSystem::GetLogicalDrives() { return m_driveMask; }

bool MemoryFileSystem::GetUsedBytes(const char* rootText, std::uint64_t& used) {
  const auto found = m_usedBytes.find(rootText[0]);
  if (found == m_usedBytes.end()) return false;
  used = found->second;
  return true;
}

bool MemoryFileSystem::IsFixedDrive(const char* rootText) {
  return (m_fixedMask >> (rootText[0] - 'A')) & 1u;
}

ListingResult MemoryFileSystem::OpenListing(const char* pattern) {
  ++m_openCount;
  const std::string folder = ParentOf(pattern);
  m_gate.Pass(OpenPoint(folder));
  ListingResult result;
  auto found = m_folders.find(folder);
  if (found == m_folders.end() || found->second.fails) return result;
  if (found->second.entries.empty()) {
    result.status = ListingStatus::Empty;
    return result;
  }
  if (++m_openListings > m_mostOpen && m_mostOpen > 0) {
    --m_openListings;
    result.outOfHandles = true;
    return result;
  }
  result.status = ListingStatus::Opened;
  try {
    result.listing =
        std::make_unique<Listing>(folder, found->second.entries, m_gate, m_openListings, m_entriesRead);
  } catch (...) {
    --m_openListings;
    throw;
  }
  return result;
}
