#pragma once
#include <string>

#include "path/Path.h"
#include "scan/FolderRecord.h"
#include "scan/Tree.h"

// The full path of a tree item, from the names of the item and its
// ancestors: 'C:\' for a drive, 'C:\Windows\System32' for a folder. Empty
// when there is no item (or its names cannot form a path).
CPath FolderPathOf(const TreeView& tree, TreeItem item);
// The same from a record and its parents.
CPath FolderPathOf(const FolderRecord& folder);

// The folder's listing pattern in the scan's form: 'C:\Windows\*', 'C:\*' for a
// drive. Empty when its names cannot form a path.
std::string ListingPatternOf(const FolderRecord& folder);

// The command line that opens a folder in the system's file browser.
CDynString ExplorerCommandLine(const CPath& folder);
