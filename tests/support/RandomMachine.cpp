#include "tests/support/RandomMachine.h"

#include <vector>

namespace {

// Each at or just past the edge of a unit, so that rounding down shows in the labels.
const std::vector<std::uint64_t> kFileSizes = {
    0, 1, 1023, 1024, 1025, 999999, 1048575, 1048576, 3145728 + 17, 1073741823, 1073741824, 5368709120,
};

constexpr int kMaxDepth = 3;
constexpr int kMaxFolders = 30;

class MachineBuilder {
 public:
  MachineBuilder(MemoryFileSystem& machine, StormRandom& random) : m_machine(machine), m_random(random) {}

  void FillDrive(char letter, bool fixed) {
    m_machine.AddDrive(letter, fixed);
    FillFolder(std::string(1, letter) + ":", 0);
  }

 private:
  // Files and folders come in random order, as a real listing gives them.
  void FillFolder(const std::string& path, int depth) {
    if (m_random.OneIn(10)) {
      m_machine.FailListing(path);
      return;
    }
    const std::uint64_t files = m_random.Below(4);
    const std::uint64_t folders = depth < kMaxDepth ? m_random.Below(4 - depth) : 0;
    std::vector<char> order(files, 0);
    order.insert(order.end(), folders, 1);
    for (std::size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[m_random.Below(i)]);
    for (const char isFolder : order) {
      const std::string child = path + "\\" + (isFolder ? "d" : "f") + std::to_string(++m_names);
      if (!isFolder) {
        m_machine.AddFile(child, m_random.Pick(kFileSizes));
      } else if (m_folders < kMaxFolders) {
        ++m_folders;
        m_machine.AddFolder(child);
        FillFolder(child, depth + 1);
      }
    }
  }

  MemoryFileSystem& m_machine;
  StormRandom& m_random;
  int m_names = 0;
  int m_folders = 0;
};

std::vector<std::string> FolderPaths(const MemoryFileSystem& machine) {
  std::vector<std::string> paths;
  for (int bit = 0; bit < 26; ++bit) {
    if ((machine.FixedDriveMask() >> bit & 1u) != 0) paths.push_back(std::string(1, char('A' + bit)) + ":");
  }
  for (std::size_t next = 0; next < paths.size(); ++next) {
    const std::vector<MemoryFileSystem::Entry>* entries = machine.ListingOf(paths[next]);
    if (entries == nullptr) continue;
    for (const MemoryFileSystem::Entry& entry : *entries) {
      if (entry.isFolder) paths.push_back(paths[next] + "\\" + entry.name);
    }
  }
  return paths;
}

}  // namespace

std::shared_ptr<MemoryFileSystem> MakeRandomMachine(StormRandom& random) {
  auto machine = std::make_shared<MemoryFileSystem>();
  MachineBuilder builder(*machine, random);
  builder.FillDrive('C', true);
  if (random.OneIn(2)) builder.FillDrive('D', true);
  if (random.OneIn(4)) builder.FillDrive('E', false);
  return machine;
}

std::string RandomGatePoint(const MemoryFileSystem& machine, StormRandom& random) {
  const std::string folder = random.Pick(FolderPaths(machine));
  const std::vector<MemoryFileSystem::Entry>* entries = machine.ListingOf(folder);
  if (entries == nullptr || entries->empty() || random.OneIn(2)) return MemoryFileSystem::OpenPoint(folder);
  return MemoryFileSystem::EntryPoint(folder, random.Pick(*entries).name);
}
