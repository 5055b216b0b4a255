#pragma once
// The format holds one folder tree a file, so a tree of several drives is
// saved as one file per drive: the drive's letter goes before the extension
// of the name given ('scan.json' becomes 'scan-C.json', 'scan-D.json').

#include <string>
#include <vector>

#include "scan/Tree.h"

struct SavedFile {
  std::string path;
  TreeItem drive;
};

// One file per top-level item, in tree order; the name as given when there
// is a single drive.
std::vector<SavedFile> PlanSavedFiles(const TreeView& tree, const std::string& given);

// 'scan.json' and 'C' give 'scan-C.json'; a name without an extension gets
// the letter at its end.
std::string SavedFileNameForDrive(const std::string& given, char letter);
