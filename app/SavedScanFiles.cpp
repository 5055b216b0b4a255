#include "app/SavedScanFiles.h"

#include <cstdio>

#include "saved/SavedFileNames.h"
#include "saved/SavedScanReader.h"
#include "saved/SavedScanWriter.h"
#include "scan/DriveTable.h"

bool ReadSavedScanSet(const std::vector<std::string>& files, SavedScanSet& saved, std::string& error) {
  if (files.size() > DriveTable::kMaxDrives) {
    error = "too many saved scans; at most " + std::to_string(DriveTable::kMaxDrives);
    return false;
  }
  std::vector<SavedScan> scans(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!ReadSavedScanFile(files[i], scans[i], error)) return false;
  }
  saved.files = files;
  saved.scans = std::move(scans);
  return true;
}

std::vector<std::string> SavedRoots(const SavedScanSet& saved) {
  std::vector<std::string> roots;
  for (const SavedScan& scan : saved.scans) roots.push_back(scan.RootName());
  return roots;
}

bool SaveTreeAsScans(const TreeView& tree, const DisplayText& display, const std::string& given,
                     std::vector<std::string>& written, std::string& error) {
  const std::vector<SavedFile> files = PlanSavedFiles(tree, given);
  if (files.empty()) {
    error = "the tree is empty, so there is nothing to save";
    return false;
  }
  for (const SavedFile& file : files) {
    if (!WriteSavedScanFile(file.path, tree, file.drive, display, error)) return false;
    written.push_back(file.path);
  }
  return true;
}

void ReportSavedScanError(const std::string& error) { std::fprintf(stderr, "ambrell: %s\n", error.c_str()); }
