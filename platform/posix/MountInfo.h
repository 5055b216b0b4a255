#pragma once
// The lines of /proc/self/mountinfo that matter here.

#include <string>
#include <string_view>
#include <vector>

struct MountEntry {
  int id = 0;
  int parentId = 0;
  unsigned major = 0;
  unsigned minor = 0;
  std::string root;        // the folder of the file system seen at the mount point
  std::string mountPoint;  // unescaped
  std::string fsType;
};

// Malformed lines are left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// Undoes the kernel's octal escapes ('\040' for a blank).
std::string UnescapeMountField(std::string_view field);

// The current process's mount table text; empty when it cannot be read.
std::string ReadMountInfo();

// True when path is folder itself or lies below it; both absolute.
bool IsSameOrBelow(std::string_view path, std::string_view folder);
// True when path lies strictly below folder.
bool IsStrictlyBelow(std::string_view path, std::string_view folder);
