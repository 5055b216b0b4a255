#include "platform/posix/SeekingDisk.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/posix/TextFile.h"

namespace {

// Device mapper over RAID over partitions is about as deep as stacks go.
constexpr int kMostLevels = 8;

std::string RealPath(const std::string& path) {
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return std::string();
  std::string result(real);
  std::free(real);
  return result;
}

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

// Where the device sits in the device tree tells what it is: emulated
// buses and software devices report rotation they do not have.
bool IsVirtualDisk(const std::string& device) {
  for (const char* mark : {"/devices/virtual/", "/virtio", "/vbd-", "/xen"}) {
    if (device.find(mark) != std::string::npos) return true;
  }
  return false;
}

bool Rotates(const std::string& disk) {
  std::string text;
  return ReadWholeFile(disk + "/queue/rotational", text) && !text.empty() && text[0] == '1';
}

bool DeviceSeeks(const std::string& sysRoot, std::string device, int level) {
  if (device.empty() || level > kMostLevels) return false;
  if (Exists(device + "/partition")) device = device.substr(0, device.rfind('/'));
  const std::vector<std::string> below = NamesIn(device + "/slaves");
  if (!below.empty()) {
    for (const std::string& name : below) {
      if (DeviceSeeks(sysRoot, RealPath(sysRoot + "/class/block/" + name), level + 1)) return true;
    }
    return false;
  }
  return !IsVirtualDisk(device) && Rotates(device);
}

}  // namespace

bool IsSeekingBlockDevice(const std::string& sysRoot, unsigned major, unsigned minor) {
  const std::string link = sysRoot + "/dev/block/" + std::to_string(major) + ":" + std::to_string(minor);
  return DeviceSeeks(sysRoot, RealPath(link), 0);
}

bool IsOnSeekingDisk(const std::string& folder) {
  struct stat status;
  if (::stat(folder.c_str(), &status) != 0) return false;
  return IsSeekingBlockDevice("/sys", major(status.st_dev), minor(status.st_dev));
}
