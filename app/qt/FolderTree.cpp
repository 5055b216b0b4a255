#include "app/qt/FolderTree.h"

#include <QHeaderView>

FolderTree::FolderTree(std::shared_ptr<const DisplayText> names, std::shared_ptr<NumberLocale> locale,
                       QWidget* parent)
    : QTreeView(parent), m_model(new FolderModel(std::move(names), std::move(locale), this)) {
  setModel(m_model);
  header()->hide();
  // One column as wide as its longest label: long names scroll sideways.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setRootIsDecorated(true);
  setUniformRowHeights(true);  // keeps a 100,000-item tree quick to lay out
}

TreeItem FolderTree::GetRootItem() const {
  const FolderNode& root = m_model->Root();
  return root.children.empty() ? kNoItem : HandleOf(root.children.front());
}

TreeItem FolderTree::GetChildItem(TreeItem item) const {
  const FolderNode* node = NodeOf(item);
  return node != nullptr && !node->children.empty() ? HandleOf(node->children.front()) : kNoItem;
}

TreeItem FolderTree::GetNextSiblingItem(TreeItem item) const {
  const FolderNode* node = NodeOf(item);
  if (node == nullptr) return kNoItem;
  const std::size_t next = static_cast<std::size_t>(node->row) + 1;
  const auto& siblings = node->parent->children;
  return next < siblings.size() ? HandleOf(siblings[next]) : kNoItem;
}

TreeItem FolderTree::GetParentItem(TreeItem item) const {
  const FolderNode* node = NodeOf(item);
  if (node == nullptr || node->parent == &m_model->Root()) return kNoItem;
  return HandleOf(node->parent);
}

// The selected item, as the tree's caret: the current item while it is selected.
TreeItem FolderTree::GetSelectedItem() const {
  const QModelIndex current = currentIndex();
  return current.isValid() && selectionModel()->isSelected(current) ? ItemAt(current) : kNoItem;
}

bool FolderTree::ItemHasChildren(TreeItem item) const {
  const FolderNode* node = NodeOf(item);
  return node != nullptr && !node->children.empty();
}

FolderRecord* FolderTree::GetItemData(TreeItem item) const {
  const FolderNode* node = NodeOf(item);
  return node != nullptr ? node->record : nullptr;
}

void FolderTree::SetItemText(TreeItem item, const char* text) {
  if (FolderNode* node = NodeOf(item)) m_model->SetLabel(*node, QString::fromUtf8(text));
}

void FolderTree::DeleteAllItems() { m_model->Clear(); }

void FolderTree::SelectItem(TreeItem item) {
  const QModelIndex index = IndexOf(item);
  if (!index.isValid()) return;
  setCurrentIndex(index);
  selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

TreeItem FolderTree::HitTest(const QPoint& viewportPoint) const {
  // The column spans the row, so any point on it finds the item, indentation
  // and the blank after the label included.
  if (!viewport()->rect().contains(viewportPoint)) return kNoItem;  // the frame or a scroll bar
  return ItemAt(indexAt(QPoint(0, viewportPoint.y())));
}

bool FolderTree::GetItemTextRect(TreeItem item, QRect& rect) const {
  const QModelIndex index = IndexOf(item);
  if (!index.isValid()) return false;
  const QRect cell = visualRect(index);
  if (!cell.isValid() || !cell.intersects(viewport()->rect())) return false;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = cell;
  option.text = Label(item);
  option.icon = m_model->FolderIcon();
  option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
  rect = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
  return true;
}

void FolderTree::InsertBatch(const InsertionBatch& batch, InsertedItemMap<FolderNode*>& items) {
  m_model->InsertBatch(batch, items);
}

void FolderTree::ShowSizes(int unit, const FolderChanges* changes) { m_model->ShowSizes(unit, changes); }

void FolderTree::ShowInOrder(FolderOrder order, const FolderChanges* changes) {
  m_model->ShowInOrder(order, changes);
  if (currentIndex().isValid()) scrollTo(currentIndex());
}

void FolderTree::EmptyFolder(TreeItem item, InsertedItemMap<FolderNode*>& items) {
  FolderNode* node = NodeOf(item);
  if (node == nullptr) return;
  m_model->EmptyFolder(*node);
  items.ClearBelow(node);
}

QString FolderTree::Label(TreeItem item) const {
  const FolderNode* node = NodeOf(item);
  return node != nullptr ? m_model->Label(*node) : QString();
}
