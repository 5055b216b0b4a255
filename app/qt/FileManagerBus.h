#pragma once
// The desktop's file manager over the session bus: the freedesktop.org
// FileManager1 interface, which shows a file selected in its folder.

#include <string>

// Asks the file manager to show the file at nativePath, without waiting for it;
// false when there is no session bus or no file manager on it offers this.
bool ShowItemOnSessionBus(const std::string& nativePath);
