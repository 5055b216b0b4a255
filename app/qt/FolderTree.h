#pragma once
// The folder tree control: a QTreeWidget whose items carry FolderRecords,
// seen by the core through the navigation half of its tree interface. The
// worker's insertions arrive in batches and are carried out here.

#include <QIcon>
#include <QTreeWidget>

#include "app/InsertionBatch.h"
#include "scan/DisplayText.h"
#include "scan/Tree.h"

class FolderTree : public QTreeWidget, public TreeView {
 public:
  explicit FolderTree(QWidget* parent = nullptr);

  // Navigation and labels, for the core.
  TreeItem GetRootItem() const override;
  TreeItem GetChildItem(TreeItem item) const override;
  TreeItem GetNextSiblingItem(TreeItem item) const override;
  TreeItem GetParentItem(TreeItem item) const override;
  TreeItem GetSelectedItem() const override;
  bool ItemHasChildren(TreeItem item) const override;
  FolderRecord* GetItemData(TreeItem item) const override;
  void SetItemText(TreeItem item, const char* text) override;
  void DeleteAllItems() override;

  // What the dialog needs beyond the core.
  void SelectItem(TreeItem item);
  TreeItem HitTest(const QPoint& viewportPoint) const;  // any point of an item's row
  // The rectangle of the item's text in viewport coordinates; false when the
  // item is not in view.
  bool GetItemTextRect(TreeItem item, QRect& rect) const;
  void SetFolderIcon(const QIcon& icon) { m_folderIcon = icon; }

  // Carries out a batch of the worker's insertions, in order, each item showing its
  // display text until the labels are written.
  void InsertBatch(const InsertionBatch& batch, InsertedItemMap<QTreeWidgetItem*>& items,
                   const DisplayText& display);

  static QTreeWidgetItem* ItemOf(TreeItem item) { return reinterpret_cast<QTreeWidgetItem*>(item); }
  static TreeItem HandleOf(const QTreeWidgetItem* item) { return reinterpret_cast<TreeItem>(item); }

 private:
  QIcon m_folderIcon;
};
