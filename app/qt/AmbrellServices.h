#pragma once
// What the dialog works with, injected so that tests can give it an
// in-memory file system and watch what it would open.

#include <functional>
#include <memory>

#include "path/Path.h"
#include "scan/DisplayText.h"
#include "scan/FileSystem.h"
#include "text/GroupedNumber.h"

struct AmbrellServices {
  std::shared_ptr<FileSystem> fileSystem;  // shared with each scan's worker
  std::shared_ptr<const DisplayText> display;
  std::shared_ptr<NumberLocale> locale;
  // Opens a folder in the desktop's file browser without waiting; a failure
  // shows nothing.
  std::function<void(const CPath&)> openFolder;
};

struct PlatformServices;

// The dialog's services over the platform's: the drives it opened, their
// display and locale, and its file browser (opener, found on PATH). The
// platform's services live as long as any of them is in use.
AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform, const char* opener = "xdg-open");
