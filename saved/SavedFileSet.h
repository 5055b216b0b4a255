#pragma once
// Saves a finished tree one file per drive (named as SavedFileNames.h says),
// replacing nothing until every file is complete: each is written in full
// beside its target and flushed to the disk, and only then are they renamed
// over their targets, one after the other.

#include <string>
#include <vector>

#include "scan/DisplayText.h"
#include "scan/LargestFiles.h"
#include "scan/Tree.h"

// written receives the files replaced, in order. False, with "FILE: reason" in
// error, when a file could not be written (then no target was touched and
// written stays empty) or when a rename failed after others succeeded (then
// written names those, and the rest are as they were).
// largest, when given, are the scan's largest files, saved as entries of their own.
bool SaveScanFiles(const TreeView& tree, const DisplayText& display, const std::string& given,
                   std::vector<std::string>& written, std::string& error,
                   const LargestFiles* largest = nullptr);
