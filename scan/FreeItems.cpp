#include "scan/FreeItems.h"

void FreeAllItems(TreeView& tree, SharedScanSession& session) {
  tree.DeleteAllItems();
  session.reset();
}
