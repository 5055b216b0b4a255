#pragma once
// The largest files as both dialogs list them: one row a file, largest first,
// each labelled as a folder is, with the file's full path for a name:
// 'C:\vm\disk.img    (40,960 MB)'.

#include <string>
#include <vector>

#include "path/Path.h"
#include "scan/DisplayText.h"
#include "scan/LargestFiles.h"
#include "text/GroupedNumber.h"

struct LargestFileRow {
  std::string label;
  CPath folder;      // the folder it is in, as the file browser is given folders
  std::string name;  // in the form records carry
};

std::vector<LargestFileRow> LargestFileRows(const LargestFiles& files, int unit, NumberLocale& locale,
                                            const DisplayText& display);
