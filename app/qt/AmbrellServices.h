#pragma once
// The Linux dialog's services: the platform's, and the desktop's file browser.

#include "app/AmbrellServices.h"

// Folders open with opener (found on PATH), handed the native path as one argument.
AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform,
                                     const char* opener = "xdg-open");

// Saved drives shown as the platform shows them, their folders opened with opener when
// they exist here: the saved path must be absolute and lead to a folder.
SavedDrivesOpener SavedDrivesOpenedWith(const char* opener = "xdg-open");
