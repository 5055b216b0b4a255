#pragma once
// Walks over the whole tree that keep no stack of their own: they move only
// by first child, next sibling and parent, so a deep tree costs no memory.

#include "scan/Tree.h"

// Every item before its children; top-level items and siblings in tree order.
template <typename Visit>
void WalkPreOrder(const TreeView& tree, Visit&& visit) {
  TreeItem item = tree.GetRootItem();
  while (item != kNoItem) {
    visit(item);
    if (tree.ItemHasChildren(item)) {
      item = tree.GetChildItem(item);
      continue;
    }
    TreeItem next;
    while ((next = tree.GetNextSiblingItem(item)) == kNoItem) {
      item = tree.GetParentItem(item);
      if (item == kNoItem) return;
    }
    item = next;
  }
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
