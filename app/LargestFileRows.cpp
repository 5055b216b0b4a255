#include "app/LargestFileRows.h"

#include "scan/DisplayPath.h"
#include "scan/FolderPath.h"
#include "scan/SizeLabels.h"

std::vector<LargestFileRow> LargestFileRows(const LargestFiles& files, int unit, NumberLocale& locale,
                                            const DisplayText& display) {
  locale.BeginPass();
  std::vector<LargestFileRow> rows;
  for (const LargeFile* file : files.Sorted()) {
    const std::string path = DisplayPathOf(*file->folder, file->name.c_str(), display);
    const CDynString label = FormatSizeLabel(path.c_str(), file->size, unit, locale);
    rows.push_back(LargestFileRow{TextOrEmpty(label), FolderPathOf(*file->folder), file->name});
  }
  return rows;
}
