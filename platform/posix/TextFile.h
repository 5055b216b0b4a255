#pragma once
// Small text files read whole: the mount table, the system's locale settings.

#include <string>

// False when the file cannot be opened; text is emptied either way.
bool ReadWholeFile(const std::string& path, std::string& text);
