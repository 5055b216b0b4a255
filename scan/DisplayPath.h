#pragma once
// A file's full path as the user knows it: its drive as the tree shows it
// ('C:', '/home'), then every name below in its real characters.

#include <string>

#include "scan/DisplayText.h"
#include "scan/FolderRecord.h"

// The separator follows the drive's own form: '\' after a drive shown with one
// ('C:\Users'), '/' after one shown with a slash ('/home'), else the display's
// own ('Pictures', a folder given as it was).
std::string DisplayPathOf(const FolderRecord& folder, const char* fileName, const DisplayText& display);
// The folder's own path, in the same form.
std::string DisplayPathOf(const FolderRecord& folder, const DisplayText& display);
