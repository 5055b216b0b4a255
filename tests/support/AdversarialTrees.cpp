#include "tests/support/AdversarialTrees.h"

#include <cstdint>
#include <random>

namespace {

void DeepChain(MemoryFileSystem& fs) {
  fs.AddDrive('C');
  std::string path = "C:";
  for (int level = 0; level < 2000; ++level) {
    path += "\\d";
    fs.AddFile(path + "\\f", static_cast<std::uint64_t>(level));
  }
}

void ChainsSideBySide(MemoryFileSystem& fs) {
  fs.AddDrive('C');
  std::string left = "C:\\left";
  std::string right = "C:\\right";
  for (int level = 0; level < 300; ++level) {
    left += "\\l" + std::to_string(level);
    right += "\\r" + std::to_string(level);
    fs.AddFile(left + "\\f", 1);
    fs.AddFolder(right);
  }
}

// More entries in one folder than any window of read-ahead holds, folders
// among them early, late and in between.
void HugeFolders(MemoryFileSystem& fs) {
  fs.AddDrive('C');
  for (int big = 0; big < 3; ++big) {
    const std::string folder = "C:\\big" + std::to_string(big);
    for (int i = 0; i < 25000; ++i) {
      if (i % 9000 == 0) fs.AddFile(folder + "\\sub" + std::to_string(i) + "\\inner", 3);
      fs.AddFile(folder + "\\f" + std::to_string(i), static_cast<std::uint64_t>(i));
    }
  }
}

void WideFolders(MemoryFileSystem& fs) {
  fs.AddDrive('C');
  for (int i = 0; i < 3000; ++i) {
    const std::string folder = "C:\\w" + std::to_string(i);
    if (i % 3 == 0) fs.AddFolder(folder);
    if (i % 3 == 1) fs.AddFile(folder + "\\f", static_cast<std::uint64_t>(i));
    if (i % 3 == 2) fs.AddFile(folder + "\\x\\y\\f", 4294967296ull + static_cast<std::uint64_t>(i));
  }
}

void FailingAndEmpty(MemoryFileSystem& fs) {
  fs.AddDrive('A', false);
  fs.AddDrive('C');
  fs.AddFile("C:\\ok\\f", 5);
  fs.AddFile("C:\\bad\\hidden", 7);
  fs.FailListing("C:\\bad");
  fs.AddFolder("C:\\empty");
  fs.AddFile("C:\\ok\\deeper\\failing\\f", 1);
  fs.FailListing("C:\\ok\\deeper\\failing");
  fs.AddDrive('D');  // an empty drive root
  fs.AddDrive('E');
  fs.AddFile("E:\\f", 1);
  fs.FailListing("E:");
  fs.AddDrive('F', false);
  fs.AddFile("F:\\never", 1);
  fs.AddDrive('G');
  fs.AddFile("G:\\last\\f", 9);
}

void HostileNames(MemoryFileSystem& fs) {
  fs.AddDrive('C');
  fs.AddRawEntry("C:", {".", true, 0});
  fs.AddRawEntry("C:", {"..", true, 0});
  fs.AddRawEntry("C:", {"C:", true, 0});
  fs.AddRawEntry("C:", {"a|b", true, 0});
  fs.AddRawEntry("C:", {std::string(300, 'n'), true, 0});
  fs.AddFile("C:\\...\\f", 1);
  fs.AddFile("C:\\.git\\f", 2);
  fs.AddFile("C:\\twice\\f", 3);
  fs.AddRawEntry("C:", {"twice", true, 0});  // listed again: walked again
  fs.AddFile("C:\\*\\f", 4);
  fs.AddFile("C:\\ünï ☃\\f", 5);
}

// Seeded: the same tree every run.
void RandomTree(MemoryFileSystem& fs) {
  std::mt19937 random(20261207);
  fs.AddDrive('C');
  fs.AddDrive('D');
  std::vector<std::string> folders = {"C:", "D:"};
  for (int i = 0; i < 6000; ++i) {
    const std::string parent = folders[random() % folders.size()];
    const std::string folder = parent + "\\n" + std::to_string(i);
    if (random() % 4 != 0) folders.push_back(folder);
    fs.AddFolder(folder);
    for (unsigned files = random() % 5; files > 0; --files)
      fs.AddFile(folder + "\\f" + std::to_string(files), random() % 100000);
    if (random() % 50 == 0) fs.FailListing(folder);
  }
}

}  // namespace

std::vector<AdversarialTree> AdversarialTrees() {
  return {
      {"DeepChain", DeepChain},     {"ChainsSideBySide", ChainsSideBySide}, {"HugeFolders", HugeFolders},
      {"WideFolders", WideFolders}, {"FailingAndEmpty", FailingAndEmpty},   {"HostileNames", HostileNames},
      {"RandomTree", RandomTree},
  };
}
