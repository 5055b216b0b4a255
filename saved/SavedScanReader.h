#pragma once
// Reads a scan saved in ncdu's JSON export format, as ncdu 1.x and 2.x, gdu
// and Ambrell write it: any minor version of major version 1, unknown keys
// skipped. A file's "asize" counts toward its folder. A folder's own
// "asize" counts only in Ambrell's files, where it stands for the folder's
// files; elsewhere it is the size of the folder entry itself, which a scan
// never counts. Hard links count once per link, as a scan counts them.
// Folders excluded as other file systems show as empty folders, as a scan
// shows mount points; other excluded entries count nothing.

#include <string>

#include "saved/ByteSource.h"
#include "saved/SavedScan.h"

// False, with "FILE:LINE:COLUMN: what is wrong" in error and scan
// unchanged, on anything else.
bool ReadSavedScan(ByteSource& source, const std::string& fileName, SavedScan& scan, std::string& error);
// The same from a file (a UTF-8 path); "FILE: reason" when it cannot be opened.
bool ReadSavedScanFile(const std::string& path, SavedScan& scan, std::string& error);
