#pragma once
// The dialogs' side of saved scans: reading the files a user opens, each a drive,
// and saving the finished tree one file per drive, as the report does.

#include <memory>
#include <string>
#include <vector>

#include "saved/SavedScan.h"
#include "scan/Baseline.h"
#include "scan/DisplayText.h"
#include "scan/LargestFiles.h"
#include "scan/Tree.h"

// What a dialog asks the system's file dialog for: a name to save the tree under, the
// saved scans to open, or the one saved scan to compare the tree with.
enum class SavedScanChoice { kSaveAs, kOpen, kCompare };

// Saved scans read in full, with the files they came from.
struct SavedScanSet {
  std::vector<std::string> files;
  std::vector<SavedScan> scans;
};

// Reads every file before any reaches a tree. False, with the file, line and column
// of what is wrong in error and saved unchanged, on the first that does not read or
// when there are more files than drive letters.
bool ReadSavedScanSet(const std::vector<std::string>& files, SavedScanSet& saved, std::string& error);

// The folders the scans were taken of, which their drives show.
std::vector<std::string> SavedRoots(const SavedScanSet& saved);

// Writes each drive of the finished tree (totals computed) to a file: the name given
// for one drive, the drive's letter before its extension for several. No file is
// replaced until all are written. Standard error names the files saved, or the
// reason and that nothing was saved; false when not all were.
bool SaveTreeAsScans(const TreeView& tree, const DisplayText& display, const std::string& given,
                     const LargestFiles* largest = nullptr);

// How the dialogs tell of a file they could not read or write: on standard error,
// never in a message box, with whatever a hostile file put into it made harmless
// for the terminal.
void ReportSavedScanError(const std::string& error);

// A saved scan read as the baseline a tree is compared with; null, with the file, line
// and column of what is wrong on standard error, when it does not read.
std::shared_ptr<const Baseline> ReadBaseline(const std::string& file);

// A baseline read from file that matches no drive or folder of the tree.
void ReportUnmatchedBaseline(const std::string& file, const std::string& rootPath);
