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

// A path for a title or a tooltip: one longer than 4,096 bytes keeps its first 1,024
// and its last 3,072 around '…', cut between characters. A chain of folders 100,000
// deep has a path of megabytes, and the drive and the last names are what a reader
// needs.
std::string ElidedPath(std::string path);
