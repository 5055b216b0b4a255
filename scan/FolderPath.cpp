#include "scan/FolderPath.h"

#include <vector>

#include "scan/FolderRecord.h"

namespace {

// The names from the drive down, each appended in place: a deep folder costs time
// in its depth, not in its square.
CPath PathOfNames(const std::vector<const char*>& leafFirst) {
  CPath path;
  try {
    for (auto name = leafFirst.rbegin(); name != leafFirst.rend(); ++name) path += CPathComponent(*name);
  } catch (const CPathException&) {
    return CPath();
  }
  return path;
}

}  // namespace

CPath FolderPathOf(const TreeView& tree, TreeItem item) {
  std::vector<const char*> names;
  for (; item != kNoItem; item = tree.GetParentItem(item)) names.push_back(tree.GetItemData(item)->name);
  return PathOfNames(names);
}

CPath FolderPathOf(const FolderRecord& folder) {
  std::vector<const char*> names;
  for (const FolderRecord* step = &folder; step != nullptr; step = step->parent) names.push_back(step->name);
  return PathOfNames(names);
}

std::string ListingPatternOf(const FolderRecord& folder) {
  const CPath path = FolderPathOf(folder);
  if (path.GetCount() == 0) return {};
  const CDynString text = path.ToString();
  std::string pattern = TextOrEmpty(text);
  if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
  return pattern + '*';
}

CDynString ExplorerCommandLine(const CPath& folder) {
  const CDynString text = folder.ToString();
  return CDynString(AllocHeap, "explorer.exe \"%s\"", TextOrEmpty(text));
}
