#pragma once
// The Linux dialog's services: the platform's, and the desktop's file browser.

#include "app/AmbrellServices.h"

// Folders open with opener (found on PATH), handed the native path as one argument.
AmbrellServices ServicesFromPlatform(std::shared_ptr<PlatformServices> platform,
                                     const char* opener = "xdg-open");
