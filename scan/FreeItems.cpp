#include "scan/FreeItems.h"

#include "scan/FolderRecord.h"
#include "scan/TreeWalk.h"

void FreeAllItems(TreeView& tree) {
  // The walk follows only the tree's links, never a freed record, and the
  // items stay until every record is gone.
  WalkPreOrder(tree, [&tree](TreeItem item) { DeleteFolderRecord(tree.GetItemData(item)); });
  tree.DeleteAllItems();
}
