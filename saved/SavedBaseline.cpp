#include "saved/SavedBaseline.h"

Baseline BaselineOf(const SavedScan& scan) {
  Baseline baseline;
  for (std::size_t i = 0; i < scan.FolderCount(); ++i) {
    baseline.AddFolder(scan.ParentOf(i), scan.NameOf(i), scan.SizeOf(i));
  }
  baseline.ComputeTotals();
  return baseline;
}
