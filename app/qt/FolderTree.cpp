#include "app/qt/FolderTree.h"

#include <QHeaderView>
#include <QTreeWidgetItemIterator>
#include <vector>

namespace {

// An item that carries its folder's record, so that the core reaches it
// without a lookup, and its place among its siblings: items are only ever
// appended (and all deleted together), so the place never changes, and the
// walk to the next sibling costs no search through a long list of children.
class FolderItem : public QTreeWidgetItem {
 public:
  static constexpr int kType = QTreeWidgetItem::UserType + 1;
  FolderItem(FolderRecord* record, int place) : QTreeWidgetItem(kType), m_record(record), m_place(place) {}
  FolderRecord* Record() const { return m_record; }
  int Place() const { return m_place; }

 private:
  FolderRecord* m_record;
  int m_place;
};

FolderItem* AsFolderItem(QTreeWidgetItem* node) {
  return node != nullptr && node->type() == FolderItem::kType ? static_cast<FolderItem*>(node) : nullptr;
}

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(1);
  header()->hide();
  // One column as wide as its longest label: long names scroll sideways.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setRootIsDecorated(true);
  setUniformRowHeights(true);  // keeps a 100,000-item tree quick to lay out
}

TreeItem FolderTree::GetRootItem() const { return HandleOf(topLevelItem(0)); }

TreeItem FolderTree::GetChildItem(TreeItem item) const {
  QTreeWidgetItem* node = ItemOf(item);
  return node != nullptr ? HandleOf(node->child(0)) : kNoItem;
}

TreeItem FolderTree::GetNextSiblingItem(TreeItem item) const {
  FolderItem* node = AsFolderItem(ItemOf(item));
  if (node == nullptr) return kNoItem;
  QTreeWidgetItem* parent = node->parent();
  if (parent == nullptr) return HandleOf(topLevelItem(node->Place() + 1));
  return HandleOf(parent->child(node->Place() + 1));
}

TreeItem FolderTree::GetParentItem(TreeItem item) const {
  QTreeWidgetItem* node = ItemOf(item);
  return node != nullptr ? HandleOf(node->parent()) : kNoItem;
}

// The selected item, as the tree's caret: the current item while it is selected.
TreeItem FolderTree::GetSelectedItem() const {
  QTreeWidgetItem* current = currentItem();
  return current != nullptr && current->isSelected() ? HandleOf(current) : kNoItem;
}

bool FolderTree::ItemHasChildren(TreeItem item) const {
  QTreeWidgetItem* node = ItemOf(item);
  return node != nullptr && node->childCount() > 0;
}

FolderRecord* FolderTree::GetItemData(TreeItem item) const {
  FolderItem* node = AsFolderItem(ItemOf(item));
  return node != nullptr ? node->Record() : nullptr;
}

void FolderTree::SetItemText(TreeItem item, const char* text) {
  if (QTreeWidgetItem* node = ItemOf(item)) node->setText(0, QString::fromUtf8(text));
}

// An item deletes its children inside its own destructor, one stack frame a
// level, and a child finds its place among its siblings by a search: a saved
// tree 100,000 levels deep would overflow the stack. So every item is
// visited after all below it (reverse pre-order) and gives up its children
// once they are leaves, which then go without a search or a frame.
void FolderTree::DeleteAllItems() {
  std::vector<QTreeWidgetItem*> preOrder;
  for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) preOrder.push_back(*it);
  std::vector<QTreeWidgetItem*> drives;
  for (int i = topLevelItemCount(); i > 0; --i) drives.push_back(takeTopLevelItem(i - 1));
  for (auto item = preOrder.rbegin(); item != preOrder.rend(); ++item) {
    for (QTreeWidgetItem* child : (*item)->takeChildren()) delete child;
  }
  for (QTreeWidgetItem* drive : drives) delete drive;
}

void FolderTree::SelectItem(TreeItem item) {
  QTreeWidgetItem* node = ItemOf(item);
  if (node == nullptr) return;
  setCurrentItem(node);
  node->setSelected(true);
}

TreeItem FolderTree::HitTest(const QPoint& viewportPoint) const {
  // The column spans the row, so any point on it finds the item, indentation
  // and the blank after the label included.
  if (!viewport()->rect().contains(viewportPoint)) return kNoItem;  // the frame or a scroll bar
  QModelIndex index = indexAt(QPoint(0, viewportPoint.y()));
  if (!index.isValid()) return kNoItem;
  return HandleOf(itemFromIndex(index));
}

bool FolderTree::GetItemTextRect(TreeItem item, QRect& rect) const {
  QTreeWidgetItem* node = ItemOf(item);
  if (node == nullptr) return false;
  QModelIndex index = indexFromItem(node);
  QRect cell = visualRect(index);
  if (!cell.isValid() || !cell.intersects(viewport()->rect())) return false;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = cell;
  option.text = node->text(0);
  option.icon = node->icon(0);
  option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
  rect = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
  return true;
}

void FolderTree::InsertBatch(const InsertionBatch& batch, InsertedItemMap<QTreeWidgetItem*>& items,
                             const DisplayText& display) {
  for (const PendingInsertion& pending : batch) {
    QTreeWidgetItem* parent = items.Resolve(pending.parent);
    int place = parent != nullptr ? parent->childCount() : topLevelItemCount();
    auto* item = new FolderItem(pending.record, place);
    // What the user sees from the start: a drive's mount point, a name's real characters.
    const CDynString shown = display.ForName(pending.record->name, parent == nullptr);
    item->setText(0, QString::fromUtf8(TextOrEmpty(shown)));
    item->setIcon(0, m_folderIcon);
    if (parent != nullptr) {
      parent->addChild(item);
    } else {
      addTopLevelItem(item);
    }
    items.Add(pending.item, item);
  }
}
