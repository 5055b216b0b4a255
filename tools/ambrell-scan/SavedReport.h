#pragma once
// The report's side of saved scans: reading several files as drives, and
// writing the finished tree one file per drive.

#include <string>
#include <vector>

#include "saved/SavedScan.h"
#include "scan/DisplayText.h"
#include "scan/ScanEngine.h"
#include "scan/ScanSession.h"
#include "scan/Tree.h"

// Every file read and checked before any reaches a tree. False, with a
// message naming the file (and the line and column), on the first bad one.
bool ReadSavedScans(const std::vector<std::string>& files, std::vector<SavedScan>& scans, std::string& error);
std::vector<std::string> SavedRootNames(const std::vector<SavedScan>& scans);
// Inserts the scans as drives C:, D:, ... in order, their records and largest files
// in session; counts their folders.
void InsertSavedScans(std::vector<SavedScan>& scans, TreeInserter& tree, ScanSession& session,
                      const DisplayText& names, ScanSummary& summary);

// Writes each drive of the finished tree to target, or to standard output
// when target is "-" (one drive only). written receives the files made.
// largest, when given, are saved as file entries of their own.
bool ExportSavedScans(const std::string& target, const TreeView& tree, const DisplayText& display,
                      std::vector<std::string>& written, std::string& error,
                      const LargestFiles* largest = nullptr);
