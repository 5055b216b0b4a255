#pragma once
// Starts the desktop's handler for a folder without waiting for it.

#include <string>

// Hands nativePath as one argument to opener (found on PATH), with no shell
// between. False when the program could not be started; shows nothing.
bool OpenInFileBrowser(const std::string& nativePath, const char* opener = "xdg-open");
