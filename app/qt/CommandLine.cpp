#include "app/qt/CommandLine.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

bool OpenArguments(const std::vector<std::string>& arguments, PlatformServices& platform, SavedScanSet& saved,
                   std::string& error) {
  const auto files =
      static_cast<std::size_t>(std::count_if(arguments.begin(), arguments.end(), IsRegularFile));
  if (files == 0) {
    if (arguments.empty()) {
      platform = OpenFixedDrives();
      return true;
    }
    return OpenFolders(arguments, platform, error);
  }
  if (files != arguments.size()) {
    error = "give folders to scan or saved scans to open, not both";
    return false;
  }
  if (!ReadSavedScanSet(arguments, saved, error)) return false;
  // The drives are not scanned, but the system's digit grouping is the same.
  platform = OpenFixedDrives();
  return true;
}
