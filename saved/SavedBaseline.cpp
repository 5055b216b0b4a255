#include "saved/SavedBaseline.h"

#include "saved/SavedScanReader.h"

Baseline BaselineOf(const SavedScan& scan) {
  Baseline baseline;
  for (std::size_t i = 0; i < scan.FolderCount(); ++i) {
    baseline.AddFolder(scan.ParentOf(i), scan.NameOf(i), scan.SizeOf(i));
  }
  baseline.ComputeTotals();
  return baseline;
}

bool ReadBaselineFile(const std::string& path, Baseline& baseline, std::string& error) {
  SavedScan scan;
  if (!ReadSavedScanFile(path, scan, error)) return false;
  baseline = BaselineOf(scan);
  return true;
}
