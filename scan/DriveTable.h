#pragma once
// Folders presented to the engine as drives C: to Z:, in the order added:
// the mounted disks of a system without drive letters, or the folders a
// user names on the command line.

#include <cstdint>
#include <string>
#include <vector>

struct DriveRoot {
  char letter;             // 'C' to 'Z'
  std::string nativeRoot;  // the folder as the platform opens it
  std::string display;     // what the drive's item shows
};

class DriveTable {
 public:
  static constexpr char kFirstLetter = 'C';
  static constexpr std::size_t kMaxDrives = 'Z' - kFirstLetter + 1;

  // False when every letter is taken.
  bool Add(std::string nativeRoot, std::string display);
  const std::vector<DriveRoot>& Drives() const { return m_drives; }
  std::uint32_t Mask() const;
  // The drive of 'C:' or of a path beginning with it; null when unknown.
  const DriveRoot* Find(const char* text) const;

 private:
  std::vector<DriveRoot> m_drives;
};
