#include "app/qt/CommandLine.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef AMBRELL_VERSION
#error "AMBRELL_VERSION names the program's version"
#endif

namespace {

constexpr const char* kUsage =
    "usage: ambrell [FOLDER]...\n"
    "       ambrell SAVED-SCAN.json...\n"
    "       ambrell --help | --version\n"
    "Shows how much space every folder takes, on every local disk or on the folders given,\n"
    "or as saved scans (ambrell-scan --export, ncdu -o, gdu -o) recorded it.\n";

constexpr const char* kVersionLine = "ambrell " AMBRELL_VERSION "\n";

bool IsRegularFile(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

DialogOption FirstOption(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument.empty() || argument[0] != '-') continue;
    if (argument == "--help") return DialogOption::Help;
    if (argument == "--version") return DialogOption::Version;
    return DialogOption::Unknown;
  }
  return DialogOption::None;
}

int AnswerOption(DialogOption option) {
  if (option == DialogOption::Unknown) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const char* text = option == DialogOption::Version ? kVersionLine : kUsage;
  if (std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0) return 0;
  std::fprintf(stderr, "ambrell: cannot write to standard output: %s\n", std::strerror(errno));
  return 1;
}

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
