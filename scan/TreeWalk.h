#pragma once
// Walks over the whole tree that keep no stack of their own: they move only
// by first child, next sibling and parent, so a deep tree costs no memory.

#include <algorithm>
#include <utility>
#include <vector>

#include "scan/FolderOrder.h"
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

// Every item of top's subtree before its children, with its depth below top (0 for
// top); top's siblings are not visited.
template <typename Visit>
void WalkSubtreePreOrderWithDepth(const TreeView& tree, TreeItem top, Visit&& visit) {
  int depth = 0;
  TreeItem item = top;
  for (;;) {
    visit(item, depth);
    if (tree.ItemHasChildren(item)) {
      item = tree.GetChildItem(item);
      ++depth;
      continue;
    }
    TreeItem next;
    while (item != top && (next = tree.GetNextSiblingItem(item)) == kNoItem) {
      item = tree.GetParentItem(item);
      --depth;
    }
    if (item == top) return;
    item = next;
  }
}

template <typename Visit>
void WalkSubtreePreOrder(const TreeView& tree, TreeItem top, Visit&& visit) {
  WalkSubtreePreOrderWithDepth(tree, top, [&visit](TreeItem item, int) { visit(item); });
}

// Every item of top's subtree after all of its children, top last.
template <typename Visit>
void WalkSubtreePostOrder(const TreeView& tree, TreeItem top, Visit&& visit) {
  TreeItem item = top;
  for (;;) {
    while (tree.ItemHasChildren(item)) item = tree.GetChildItem(item);
    TreeItem next;
    while (item != top && (next = tree.GetNextSiblingItem(item)) == kNoItem) {
      visit(item);
      item = tree.GetParentItem(item);
    }
    visit(item);
    if (item == top) return;
    item = next;
  }
}

// Every item after all of its children; siblings in tree order.
template <typename Visit>
void WalkPostOrder(const TreeView& tree, Visit&& visit) {
  for (TreeItem top = tree.GetRootItem(); top != kNoItem; top = tree.GetNextSiblingItem(top))
    WalkSubtreePostOrder(tree, top, visit);
}

// Every item before its children, with its depth, as WalkPreOrderWithDepth, but
// each folder's subfolders in the given order (by the changes given, for
// FolderOrder::ByChange); top-level items in tree order. It keeps the
// siblings still to visit on every level it is in.
template <typename Visit>
void WalkPreOrderInOrder(const TreeView& tree, int maxDepth, FolderOrder order, const FolderChanges* changes,
                         Visit&& visit) {
  std::vector<std::pair<TreeItem, int>> toVisit;  // the next one at the back
  std::vector<TreeItem> children;
  const auto pushChildren = [&](TreeItem parent, int depth) {
    children.clear();
    for (TreeItem child = parent == kNoItem ? tree.GetRootItem() : tree.GetChildItem(parent);
         child != kNoItem; child = tree.GetNextSiblingItem(child)) {
      children.push_back(child);
    }
    if (parent != kNoItem) {
      std::sort(children.begin(), children.end(), [&](TreeItem a, TreeItem b) {
        return ComesBefore(order, *tree.GetItemData(a), *tree.GetItemData(b), changes);
      });
    }
    for (auto child = children.rbegin(); child != children.rend(); ++child)
      toVisit.emplace_back(*child, depth);
  };
  pushChildren(kNoItem, 0);
  while (!toVisit.empty()) {
    const auto [item, depth] = toVisit.back();
    toVisit.pop_back();
    visit(item, depth);
    if (maxDepth < 0 || depth < maxDepth) pushChildren(item, depth + 1);
  }
}
