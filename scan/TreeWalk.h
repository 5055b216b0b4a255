#pragma once
// Walks over the whole tree that keep no stack of their own: they move only
// by first child, next sibling and parent, so a deep tree costs no memory.

#include "scan/Tree.h"

// Every item before its children, with its depth (0 for a top-level item);
// siblings in tree order. The walk does not descend below maxDepth (-1: no
// limit).
template <typename Visit>
void WalkPreOrderWithDepth(const TreeView& tree, int maxDepth, Visit&& visit) {
  int depth = 0;
  TreeItem item = tree.GetRootItem();
  while (item != kNoItem) {
    visit(item, depth);
    if (tree.ItemHasChildren(item) && (maxDepth < 0 || depth < maxDepth)) {
      item = tree.GetChildItem(item);
      ++depth;
      continue;
    }
    TreeItem next;
    while ((next = tree.GetNextSiblingItem(item)) == kNoItem) {
      item = tree.GetParentItem(item);
      --depth;
      if (item == kNoItem) return;
    }
    item = next;
  }
}

// Every item before its children; top-level items and siblings in tree order.
template <typename Visit>
void WalkPreOrder(const TreeView& tree, Visit&& visit) {
  WalkPreOrderWithDepth(tree, -1, [&visit](TreeItem item, int) { visit(item); });
}

// Every item after all of its children; siblings in tree order.
template <typename Visit>
void WalkPostOrder(const TreeView& tree, Visit&& visit) {
  TreeItem item = tree.GetRootItem();
  if (item == kNoItem) return;
  for (;;) {
    while (tree.ItemHasChildren(item)) item = tree.GetChildItem(item);
    TreeItem next;
    while ((next = tree.GetNextSiblingItem(item)) == kNoItem) {
      visit(item);
      item = tree.GetParentItem(item);
      if (item == kNoItem) return;
    }
    visit(item);
    item = next;
  }
}
