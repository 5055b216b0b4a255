#pragma once
// What a main dialog works with beyond its window: the drives it scans, how names
// are shown and sizes grouped, and how a folder is opened in the system's file
// browser. Built from the platform's services; tests hand in their own.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ProgressIndicator.h"
#include "path/Path.h"
#include "platform/Platform.h"
#include "scan/DisplayText.h"
#include "scan/FileSystem.h"
#include "text/GroupedNumber.h"

// Opens a folder in the file browser without showing anything when that fails.
using FolderOpener = std::function<void(const CPath& folder)>;
// Opens a file's folder in the file browser with the file selected; the name is
// in the form records carry. Shows nothing when that fails.
using FileShower = std::function<void(const CPath& folder, const std::string& fileName)>;

// Whether a folder, in the form the tree's paths take, is one on this machine.
using FolderTest = std::function<bool(const CPath& folder)>;

// How saved scans show as drives C:, D:, ...: each drive's item names the folder its
// scan was taken of ('/home', 'C:\Users'), and a folder opens, or is scanned again,
// only where it exists on this machine.
struct SavedDrives {
  std::shared_ptr<const DisplayText> display;
  FolderOpener openFolder;
  FileShower showFile;  // null: the file's folder is opened
  // Lists the saved folders where they are on this machine; null: none is scanned.
  std::shared_ptr<FileSystem> fileSystem;
  FolderTest isHere;  // null: no folder is
};
// Given the folders the scans were taken of, in drive order.
using SavedDrivesOpener = std::function<SavedDrives(const std::vector<std::string>& roots)>;

struct AmbrellServices {
  std::shared_ptr<FileSystem> fileSystem;  // shared with each scan's worker
  std::shared_ptr<const DisplayText> display;
  std::shared_ptr<NumberLocale> locale;
  FolderOpener openFolder;
  FileShower showFile;  // null: the file's folder is opened
  // Null: a saved drive shows its folder's name as saved and opens nothing.
  SavedDrivesOpener openSavedDrives;
  std::size_t insertionBatchSize = 1000;  // folders handed to the GUI thread at once
  // Where a running scan shows how far it has come; null: the platform's own (the
  // taskbar button on Windows, the launcher entry on Linux).
  std::shared_ptr<ProgressIndicator> progress;
};

// The dialog's services over the platform's, which live as long as any of them is in use.
AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform, FolderOpener openFolder);
