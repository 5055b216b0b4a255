#include "tools/ambrell-scan/SavedReport.h"

#include <cstdio>
#include <ctime>

#include "saved/SavedFileNames.h"
#include "saved/SavedFileSet.h"
#include "saved/SavedScanReader.h"
#include "saved/SavedScanWriter.h"
#include "scan/DriveTable.h"

bool ReadSavedScans(const std::vector<std::string>& files, std::vector<SavedScan>& scans,
                    std::string& error) {
  if (files.size() > DriveTable::kMaxDrives) {
    error = "too many saved scans; at most " + std::to_string(DriveTable::kMaxDrives);
    return false;
  }
  std::vector<SavedScan> read(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i] == "-") {
      FileSource standardInput(stdin);
      if (!ReadSavedScan(standardInput, "standard input", read[i], error)) return false;
    } else if (!ReadSavedScanFile(files[i], read[i], error)) {
      return false;
    }
  }
  scans = std::move(read);
  return true;
}

std::vector<std::string> SavedRootNames(const std::vector<SavedScan>& scans) {
  std::vector<std::string> roots;
  for (const SavedScan& scan : scans) roots.push_back(scan.RootName());
  return roots;
}

void InsertSavedScans(std::vector<SavedScan>& scans, TreeInserter& tree, ScanSession& session,
                      const DisplayText& names, ScanSummary& summary) {
  for (const SavedScan& scan : scans) {
    summary.folders += scan.FolderCount();
    summary.unreadableFolders += scan.UnreadableFolders();
  }
  InsertSavedDrives(scans, tree, session, names);
  tree.Flush();
}

namespace {

bool ExportToStandardOutput(const TreeView& tree, const DisplayText& display, const LargestFiles* largest,
                            std::string& error) {
  WriteSavedScan(
      tree, tree.GetRootItem(), display, static_cast<std::int64_t>(std::time(nullptr)),
      [](const char* bytes, std::size_t length) { std::fwrite(bytes, 1, length, stdout); }, largest);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  error = "standard output: the saved scan could not be written";
  return false;
}

}  // namespace

bool ExportSavedScans(const std::string& target, const TreeView& tree, const DisplayText& display,
                      std::vector<std::string>& written, std::string& error, const LargestFiles* largest) {
  const std::vector<SavedFile> files = PlanSavedFiles(tree, target);
  if (files.empty()) {
    error = "no drive was scanned, so there is nothing to save";
    return false;
  }
  if (target == "-") {
    if (files.size() == 1) return ExportToStandardOutput(tree, display, largest, error);
    error = "standard output holds one saved scan, and " + std::to_string(files.size()) +
            " drives were scanned; give --export a file name";
    return false;
  }
  return SaveScanFiles(tree, display, target, written, error, largest);
}
