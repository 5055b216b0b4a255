#pragma once
// The folders as Qt's views see them: one column of light nodes, each pointing
// at a FolderRecord that is owned elsewhere and never freed here. A label is
// made from its record when a view asks for it, so that labelling the tree or
// a new unit is one change of the whole model, not a write to every item.

#include <QAbstractItemModel>
#include <QIcon>
#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "app/InsertionBatch.h"
#include "scan/DisplayText.h"
#include "scan/FolderOrder.h"
#include "text/GroupedNumber.h"

struct FolderNode {
  FolderRecord* record = nullptr;
  FolderNode* parent = nullptr;  // the model's root above a drive
  int row = 0;                   // among its siblings as shown
  bool fresh = false;            // made by the batch being carried out, not yet seen by a view
  bool nameOnly = false;         // inserted since the sizes were shown: no total yet
  std::vector<FolderNode*> children;
};

class FolderModel : public QAbstractItemModel {
 public:
  FolderModel(std::shared_ptr<const DisplayText> names, std::shared_ptr<NumberLocale> locale,
              QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  using QObject::parent;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  const FolderNode& Root() const { return m_root; }
  FolderNode* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const FolderNode* node) const;
  QString Label(const FolderNode& node) const;
  const QIcon& FolderIcon() const { return m_folderIcon; }
  void SetFolderIcon(const QIcon& icon) { m_folderIcon = icon; }

  // Carries out a batch of the worker's insertions, in order. Each item shows its
  // display text until the sizes are shown.
  void InsertBatch(const InsertionBatch& batch, InsertedItemMap<FolderNode*>& items);
  // From now on every label shows its folder's total in unit, and its change when
  // changes are given (they stay valid until the next call), the number locale read
  // anew: one layout change.
  void ShowSizes(int unit, const FolderChanges* changes = nullptr);
  // Every folder's subfolders in order from now on, the drives as they are: one
  // layout change, which keeps the views' selection and expanded folders.
  void ShowInOrder(FolderOrder order, const FolderChanges* changes = nullptr);
  // A label written from outside, kept until the sizes are shown or the tree is emptied.
  void SetLabel(FolderNode& node, const QString& label);
  // Removes the node's children and everything below them, the records untouched.
  // Nodes inserted from now on show their names until the sizes are shown again.
  void EmptyFolder(FolderNode& node);
  // Removes every node, the records untouched.
  void Clear();

 private:
  std::shared_ptr<const DisplayText> m_names;
  std::shared_ptr<NumberLocale> m_locale;
  QIcon m_folderIcon;
  int m_unit = -1;                             // -1 while the labels show names only
  const FolderChanges* m_changes = nullptr;    // given: labels show each folder's change
  FolderOrder m_order = FolderOrder::Listed;   // of the nodes' children; new ones come as listed
  bool m_outOfOrder = false;                   // some children are not in m_order
  std::optional<std::size_t> m_namesOnlyFrom;  // in m_nodes, while a refilled folder waits for sizes
  FolderNode m_root;
  std::deque<FolderNode> m_nodes;  // stable addresses, and freed without a walk of the tree
  std::unordered_map<const FolderNode*, QString> m_written;
};
