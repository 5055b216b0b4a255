#pragma once
// What a main dialog works with beyond its window: the drives it scans, how names
// are shown and sizes grouped, and how a folder is opened in the system's file
// browser. Built from the platform's services; tests hand in their own.

#include <cstddef>
#include <functional>
#include <memory>

#include "path/Path.h"
#include "platform/Platform.h"
#include "scan/DisplayText.h"
#include "scan/FileSystem.h"
#include "text/GroupedNumber.h"

// Opens a folder in the file browser without showing anything when that fails.
using FolderOpener = std::function<void(const CPath& folder)>;

struct AmbrellServices {
  std::shared_ptr<FileSystem> fileSystem;  // shared with each scan's worker
  std::shared_ptr<const DisplayText> display;
  std::shared_ptr<NumberLocale> locale;
  FolderOpener openFolder;
  std::size_t insertionBatchSize = 1000;  // folders handed to the GUI thread at once
};

// The dialog's services over the platform's, which live as long as any of them is in use.
AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform, FolderOpener openFolder);
