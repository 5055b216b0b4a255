#pragma once
// What each platform layer provides to the front ends and the report: a file
// system presenting the drives to scan, how names are shown, and how sizes
// are grouped.

#include <memory>
#include <string>
#include <vector>

#include "scan/DisplayText.h"
#include "scan/FileSystem.h"
#include "text/GroupedNumber.h"

struct PlatformServices {
  std::unique_ptr<FileSystem> fileSystem;
  std::unique_ptr<DisplayText> display;
  std::unique_ptr<NumberLocale> locale;
};

// How the drives are listed: threads is how many threads list folders
// ahead of the walk; 0 takes AMBRELL_THREADS when it holds a count, else
// each disk's default (scan/ListingThreads.h).
struct ListingOptions {
  unsigned threads = 0;
};

// Every fixed drive of the machine.
PlatformServices OpenFixedDrives(const ListingOptions& listing = ListingOptions());

// Each folder as a drive of its own (C:, D:, ... in the order given), its
// item showing the folder as given. False, with a message in error (naming
// the folder, not the program), when a folder does not exist or is not a
// folder, or when there are too many.
bool OpenFolders(const std::vector<std::string>& folders, PlatformServices& services, std::string& error,
                 const ListingOptions& listing = ListingOptions());

// Saved scans as drives (C:, D:, ... in the order given), each item showing
// the folder its scan was taken of ('/home'), which is also where its
// folders are looked for on this machine. False, with a message in error,
// when there are too many.
bool OpenSavedDrives(const std::vector<std::string>& roots, PlatformServices& services, std::string& error);
