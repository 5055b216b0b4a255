#pragma once
// The folders as the dialog put them into the tree-view control, indexed in
// memory beside it: the totals and label passes, and the freeing of records,
// walk this index and only write the labels into the control.
//
// Wine's tree view finds an item by a linear search through all items on
// every message that names one, so a walk through the control costs time in
// the square of the number of folders: minutes for 100,000 of them.

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/InsertionBatch.h"
#include "app/win32/framework/TreeControl.h"
#include "scan/FolderOrder.h"
#include "scan/MemoryTree.h"

class FolderTreeIndex : public TreeView {
 public:
  explicit FolderTreeIndex(CTreeCtrl& control) : m_control(control) {}

  // Carries out one of the worker's insertions, in the control and here. The
  // worker numbers its items 1, 2, 3, ... from the start of a scan, as this
  // index does, so its handles are this index's items, counted on from where a
  // folder's refill started.
  void Insert(const PendingInsertion& pending);
  // Forgets the items without touching the control.
  void Clear();
  // The folder's subfolders leave the control and the index, and the next insertions
  // are a worker's that walks the folder alone: its handles count on from the items
  // held, and its top level is the folder.
  void EmptyFolder(TreeItem folder);

  // The order each folder's subfolders show in. Asking the control to sort the
  // children of every folder would cost Wine's search for each of them, so only
  // the folders the user has opened are put in order now, and every other one
  // when it is first opened.
  void ShowInOrder(FolderOrder order, const FolderChanges* changes = nullptr);
  // A folder is about to show its children.
  void OnExpanding(HTREEITEM native);
  std::size_t GetCount() const { return m_folders.GetCount(); }

  TreeItem GetRootItem() const override { return m_folders.GetRootItem(); }
  TreeItem GetChildItem(TreeItem item) const override { return m_folders.GetChildItem(item); }
  TreeItem GetNextSiblingItem(TreeItem item) const override { return m_folders.GetNextSiblingItem(item); }
  TreeItem GetParentItem(TreeItem item) const override { return m_folders.GetParentItem(item); }
  TreeItem GetSelectedItem() const override;
  bool ItemHasChildren(TreeItem item) const override { return m_folders.ItemHasChildren(item); }
  FolderRecord* GetItemData(TreeItem item) const override { return m_folders.GetItemData(item); }
  void SetItemText(TreeItem item, const char* text) override;
  void DeleteAllItems() override;

  // What the dialog's menus and the tests need of the control, by index item.
  std::string GetItemText(TreeItem item) const;
  bool SelectItem(TreeItem item);
  // The item whose row holds a point of the control's client area, or kNoItem.
  TreeItem HitTest(POINT clientPoint) const;
  bool GetItemTextRect(TreeItem item, RECT& rect) const;
  // The control's item, or null for an item the control could not take.
  HTREEITEM NativeOf(TreeItem item) const;
  const CTreeCtrl& Control() const { return m_control; }

 private:
  TreeItem IndexOf(HTREEITEM native) const;
  // Deletes from the control, deepest first, the subtrees too deep to delete in one message.
  void DeleteDeepSubtrees();
  void PutChildrenInOrder(HTREEITEM native, std::optional<FolderOrder>& childrenOrder);

  CTreeCtrl& m_control;
  MemoryTree m_folders;
  InsertedItemMap<HTREEITEM> m_native{TVI_ROOT};
  FolderOrder m_order = FolderOrder::Listed;
  const FolderChanges* m_changes = nullptr;  // what ByChange orders by
  // Every folder expanded so far, with the order its children are in (none: a folder
  // scanned again, or one whose total that changed).
  std::unordered_map<HTREEITEM, std::optional<FolderOrder>> m_opened;
  // Where the worker's items go: below this folder (kTopLevel for a whole scan), each
  // after the items the index held when it started.
  TreeItem m_refillFolder = kTopLevel;
  std::size_t m_refillBase = 0;
};
