#include "tests/support/TreeDump.h"

#include "scan/FolderRecord.h"
#include "scan/TreeWalk.h"

std::string DumpTree(const TreeView& tree, const std::function<std::string(TreeItem)>& textOf) {
  std::string text;
  WalkPreOrderWithDepth(tree, -1, [&](TreeItem item, int depth) {
    text.append(static_cast<std::size_t>(depth) * 2, ' ');
    text += textOf(item);
    text += '\n';
  });
  return text;
}

std::string DumpRecords(const MemoryTree& tree) {
  return DumpTree(tree, [&tree](TreeItem item) {
    const FolderRecord* record = tree.GetItemData(item);
    return std::string(record->name) + " " + std::to_string(record->ownFiles);
  });
}

std::string DumpTotals(const MemoryTree& tree) {
  return DumpTree(tree, [&tree](TreeItem item) {
    const FolderRecord* record = tree.GetItemData(item);
    return std::string(record->name) + " " + std::to_string(record->size);
  });
}

std::string DumpLabels(const MemoryTree& tree) {
  return DumpTree(tree, [&tree](TreeItem item) { return std::string(tree.GetItemText(item)); });
}

std::string MisplacedRecords(const TreeView& tree) {
  std::string faults;
  WalkPreOrder(tree, [&](TreeItem item) {
    const FolderRecord* record = tree.GetItemData(item);
    const TreeItem parent = tree.GetParentItem(item);
    std::uint32_t row = 0;
    TreeItem sibling = parent == kNoItem ? tree.GetRootItem() : tree.GetChildItem(parent);
    for (; sibling != item; sibling = tree.GetNextSiblingItem(sibling)) ++row;
    const FolderRecord* parentRecord = parent == kNoItem ? nullptr : tree.GetItemData(parent);
    // A drive's place is not its row: drives are the tree's, not a folder's.
    if (record->parent != parentRecord || (parent != kNoItem && record->place != row)) {
      faults += std::string(record->name) + "\n";
    }
  });
  return faults;
}
