#include "app/SavedScanFiles.h"

#include <cstdio>

#include "saved/SavedBaseline.h"
#include "saved/SavedFileSet.h"
#include "saved/SavedScanReader.h"
#include "scan/DriveTable.h"
#include "text/NameQuoting.h"

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
                     const LargestFiles* largest) {
  std::vector<std::string> written;
  std::string error;
  bool saved = false;
  if (tree.GetRootItem() == kNoItem) {
    error = "the tree is empty, so there is nothing to save";
  } else {
    saved = SaveScanFiles(tree, display, given, written, error, largest);
  }
  for (const std::string& file : written)
    std::fprintf(stderr, "ambrell: saved %s\n", EscapeForTerminal(file).c_str());
  if (saved) return true;
  ReportSavedScanError(error);
  if (written.empty()) std::fprintf(stderr, "ambrell: nothing was saved\n");
  return false;
}

void ReportSavedScanError(const std::string& error) {
  std::fprintf(stderr, "ambrell: %s\n", EscapeForTerminal(error).c_str());
}

std::shared_ptr<const Baseline> ReadBaseline(const std::string& file) {
  auto baseline = std::make_shared<Baseline>();
  std::string error;
  if (ReadBaselineFile(file, *baseline, error)) return baseline;
  ReportSavedScanError(error);
  return nullptr;
}

void ReportUnmatchedBaseline(const std::string& file, const std::string& rootPath) {
  std::fprintf(stderr, "ambrell: %s: the saved scan of %s matches no drive or folder here; no change shown\n",
               EscapeForTerminal(file).c_str(), QuoteName(rootPath).c_str());
}
