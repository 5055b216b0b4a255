#include "app/qt/FolderModel.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "scan/FolderRecord.h"
#include "scan/SizeLabels.h"

FolderModel::FolderModel(std::shared_ptr<const DisplayText> names, std::shared_ptr<NumberLocale> locale,
                         QObject* parent)
    : QAbstractItemModel(parent), m_names(std::move(names)), m_locale(std::move(locale)) {}

QModelIndex FolderModel::index(int row, int column, const QModelIndex& parent) const {
  const FolderNode* above = parent.isValid() ? NodeOf(parent) : &m_root;
  if (above == nullptr || column != 0 || row < 0 || row >= static_cast<int>(above->children.size()))
    return {};
  return createIndex(row, 0, above->children[static_cast<std::size_t>(row)]);
}

QModelIndex FolderModel::parent(const QModelIndex& child) const {
  const FolderNode* node = NodeOf(child);
  return node != nullptr ? IndexOf(node->parent) : QModelIndex();
}

int FolderModel::rowCount(const QModelIndex& parent) const {
  const FolderNode* node = parent.isValid() ? NodeOf(parent) : &m_root;
  return node != nullptr && parent.column() <= 0 ? static_cast<int>(node->children.size()) : 0;
}

int FolderModel::columnCount(const QModelIndex&) const { return 1; }

QVariant FolderModel::data(const QModelIndex& index, int role) const {
  const FolderNode* node = NodeOf(index);
  if (node == nullptr) return {};
  if (role == Qt::DisplayRole) return Label(*node);
  if (role == Qt::DecorationRole) return m_folderIcon;
  return {};
}

FolderNode* FolderModel::NodeOf(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this || index.column() != 0) return nullptr;
  return static_cast<FolderNode*>(index.internalPointer());
}

QModelIndex FolderModel::IndexOf(const FolderNode* node) const {
  if (node == nullptr || node == &m_root) return {};
  return createIndex(node->row, 0, const_cast<FolderNode*>(node));
}

// Made for the rows in view only; the locale was read when the sizes were shown.
QString FolderModel::Label(const FolderNode& node) const {
  if (!m_written.empty()) {
    const auto written = m_written.find(&node);
    if (written != m_written.end()) return written->second;
  }
  const CDynString name = m_names->ForName(node.record->name, node.parent == &m_root);
  if (m_unit < 0 || node.nameOnly) return QString::fromUtf8(TextOrEmpty(name));
  std::string label;
  if (m_changes != nullptr) {
    AppendChangeLabel(TextOrEmpty(name), node.record->size, m_changes->ChangeOf(*node.record), m_unit,
                      *m_locale, label);
  } else {
    AppendSizeLabel(TextOrEmpty(name), node.record->size, m_unit, *m_locale, label);
  }
  return QString::fromStdString(label);
}

// A node below another of the same batch joins it unseen; the views hear of the batch
// as one run of rows for each parent they already know. A walk of the folders inserts
// mostly below folders it has just inserted, so that is a few signals a batch, not one
// a folder.
void FolderModel::InsertBatch(const InsertionBatch& batch, InsertedItemMap<FolderNode*>& items) {
  const std::size_t first = m_nodes.size();
  std::vector<FolderNode*> joining;  // below a known parent, in batch order
  for (const PendingInsertion& pending : batch) {
    FolderNode* parent = items.Resolve(pending.parent);
    if (parent == nullptr) parent = &m_root;
    FolderNode& node = m_nodes.emplace_back();
    node.record = pending.record;
    node.parent = parent;
    node.fresh = true;
    node.nameOnly = m_namesOnlyFrom.has_value();
    if (parent->fresh) {
      node.row = static_cast<int>(parent->children.size());
      parent->children.push_back(&node);
    } else {
      joining.push_back(&node);
    }
    items.Add(pending.item, &node);
  }
  // Siblings keep their batch order; the parents' order does not matter.
  std::stable_sort(joining.begin(), joining.end(), [](const FolderNode* a, const FolderNode* b) {
    return std::less<const FolderNode*>()(a->parent, b->parent);
  });
  for (auto run = joining.begin(); run != joining.end();) {
    FolderNode* parent = (*run)->parent;
    const auto end =
        std::find_if(run, joining.end(), [parent](const FolderNode* node) { return node->parent != parent; });
    const int firstRow = static_cast<int>(parent->children.size());
    beginInsertRows(IndexOf(parent), firstRow, firstRow + static_cast<int>(end - run) - 1);
    for (; run != end; ++run) {
      (*run)->row = static_cast<int>(parent->children.size());
      parent->children.push_back(*run);
    }
    endInsertRows();
  }
  for (std::size_t i = first; i < m_nodes.size(); ++i) m_nodes[i].fresh = false;
}

void FolderModel::ShowSizes(int unit, const FolderChanges* changes) {
  m_locale->BeginPass();
  emit layoutAboutToBeChanged();
  m_unit = unit;
  m_changes = changes;
  if (m_namesOnlyFrom) {
    for (std::size_t i = *m_namesOnlyFrom; i < m_nodes.size(); ++i) m_nodes[i].nameOnly = false;
    m_namesOnlyFrom.reset();
  }
  std::unordered_map<const FolderNode*, QString>().swap(m_written);
  emit layoutChanged();
}

// Changes are matched anew after every scan: an order by them is always made again.
void FolderModel::ShowInOrder(FolderOrder order, const FolderChanges* changes) {
  if (order == m_order && !m_outOfOrder && order != FolderOrder::ByChange) return;
  emit layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  std::vector<const FolderNode*> held;
  held.reserve(static_cast<std::size_t>(before.size()));
  for (const QModelIndex& index : before) held.push_back(NodeOf(index));
  for (FolderNode& node : m_nodes) {
    std::sort(node.children.begin(), node.children.end(),
              [order, changes](const FolderNode* a, const FolderNode* b) {
                return ComesBefore(order, *a->record, *b->record, changes);
              });
    for (std::size_t row = 0; row < node.children.size(); ++row)
      node.children[row]->row = static_cast<int>(row);
  }
  QModelIndexList after;
  after.reserve(before.size());
  for (const FolderNode* node : held) after.push_back(IndexOf(node));
  changePersistentIndexList(before, after);
  m_order = order;
  m_outOfOrder = false;
  emit layoutChanged();
}

void FolderModel::SetLabel(FolderNode& node, const QString& label) {
  m_written[&node] = label;
  const QModelIndex changed = IndexOf(&node);
  emit dataChanged(changed, changed, {Qt::DisplayRole});
}

// The nodes stay in m_nodes, unreachable, until the tree is emptied: no walk of the
// subtree, so its depth does not matter.
void FolderModel::EmptyFolder(FolderNode& node) {
  if (!node.children.empty()) {
    beginRemoveRows(IndexOf(&node), 0, static_cast<int>(node.children.size()) - 1);
    std::vector<FolderNode*>().swap(node.children);
    endRemoveRows();
  }
  // The new children come as listed, and totals up to the drive change.
  m_outOfOrder = m_order != FolderOrder::Listed;
  if (m_unit >= 0 && !m_namesOnlyFrom) m_namesOnlyFrom = m_nodes.size();
}

// Each node frees only its own list of children: no walk, so no depth overflows the stack.
void FolderModel::Clear() {
  beginResetModel();
  std::vector<FolderNode*>().swap(m_root.children);
  std::deque<FolderNode>().swap(m_nodes);
  std::unordered_map<const FolderNode*, QString>().swap(m_written);
  m_unit = -1;
  m_changes = nullptr;
  m_order = FolderOrder::Listed;
  m_outOfOrder = false;
  m_namesOnlyFrom.reset();
  endResetModel();
}
