#include "scan/FolderPath.h"

#include "scan/FolderRecord.h"

CPath FolderPathOf(const TreeView& tree, TreeItem item) {
  CPath path;
  try {
    for (; item != kNoItem; item = tree.GetParentItem(item)) {
      path = CPathComponent(tree.GetItemData(item)->name) + path;
    }
  } catch (const CPathException&) {
    return CPath();
  }
  return path;
}

CPath FolderPathOf(const FolderRecord& folder) {
  CPath path;
  try {
    for (const FolderRecord* step = &folder; step != nullptr; step = step->parent) {
      path = CPathComponent(step->name) + path;
    }
  } catch (const CPathException&) {
    return CPath();
  }
  return path;
}

CDynString ExplorerCommandLine(const CPath& folder) {
  const CDynString text = folder.ToString();
  return CDynString(AllocHeap, "explorer.exe \"%s\"", TextOrEmpty(text));
}
