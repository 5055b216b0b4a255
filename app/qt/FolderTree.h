#pragma once
// The folder tree control: a view over a FolderModel, seen by the core through
// the navigation half of its tree interface. The worker's insertions arrive in
// batches and are carried out here; the labels are made as rows are drawn.

#include <QIcon>
#include <QTreeView>
#include <memory>

#include "app/InsertionBatch.h"
#include "app/qt/FolderModel.h"
#include "scan/DisplayText.h"
#include "scan/Tree.h"
#include "text/GroupedNumber.h"

class FolderTree : public QTreeView, public TreeView {
 public:
  // The names and the number locale every label is made with.
  FolderTree(std::shared_ptr<const DisplayText> names, std::shared_ptr<NumberLocale> locale,
             QWidget* parent = nullptr);

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
  void SetFolderIcon(const QIcon& icon) { m_model->SetFolderIcon(icon); }

  // Carries out a batch of the worker's insertions, in order, each item showing its
  // display text until the sizes are shown.
  void InsertBatch(const InsertionBatch& batch, InsertedItemMap<FolderNode*>& items);
  // Every label from now on shows its folder's total in unit: one change of the
  // model, and the column widened to the labels in view.
  void ShowSizes(int unit, const FolderChanges* changes = nullptr);
  void ShowInOrder(FolderOrder order, const FolderChanges* changes = nullptr);
  // The item's subfolders go, and the handles of a worker that walks its folder alone
  // resolve below it.
  void EmptyFolder(TreeItem item, InsertedItemMap<FolderNode*>& items);

  QString Label(TreeItem item) const;
  QModelIndex IndexOf(TreeItem item) const { return m_model->IndexOf(NodeOf(item)); }
  TreeItem ItemAt(const QModelIndex& index) const { return HandleOf(m_model->NodeOf(index)); }

  static FolderNode* NodeOf(TreeItem item) { return reinterpret_cast<FolderNode*>(item); }
  static TreeItem HandleOf(const FolderNode* node) { return reinterpret_cast<TreeItem>(node); }

 private:
  FolderModel* m_model;
};
