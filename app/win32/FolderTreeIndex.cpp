#include "app/win32/FolderTreeIndex.h"

#include <vector>

#include "scan/TreeWalk.h"

namespace {

// The control deletes a subtree by recursing once per level, and Wine's tree view runs
// out of stack between 10,000 and 20,000 levels. Deleting the items of every this
// many-th level first, the deepest first, holds each deletion to that many levels.
constexpr int kLevelsPerDeletion = 1000;

}  // namespace

void FolderTreeIndex::Insert(const PendingInsertion& pending) {
  // A parent this index does not hold would be a worker of another scan: never nest under it.
  const bool held = pending.parent != kTopLevel && pending.parent <= m_folders.GetCount() - m_refillBase;
  const InsertedItem parent = held ? m_refillBase + pending.parent : m_refillFolder;
  const HTREEITEM native =
      m_control.InsertItem(pending.record->name, pending.record, m_native.Resolve(parent));
  const InsertedItem item = m_folders.Insert(parent, "", pending.record);
  m_native.Add(item, native);
}

void FolderTreeIndex::Clear() {
  m_folders.DeleteAllItems();
  m_native.Clear();
  m_opened.clear();
  m_changes = nullptr;  // they went with the records
  m_refillFolder = kTopLevel;
  m_refillBase = 0;
}

void FolderTreeIndex::EmptyFolder(TreeItem folder) {
  std::vector<HTREEITEM> deletions;  // the children, and every kLevelsPerDeletion-th level below
  WalkSubtreePreOrderWithDepth(m_folders, folder, [&](TreeItem item, int depth) {
    if (depth == 0) return;
    const HTREEITEM native = NativeOf(item);
    if (native == nullptr) return;
    if (depth == 1 || depth % kLevelsPerDeletion == 0) deletions.push_back(native);
    m_opened.erase(native);
    m_native.Forget(item);  // the control may give its handle to a new item
  });
  // Every item comes after its ancestors: backwards, each goes before any above it.
  for (auto deletion = deletions.rbegin(); deletion != deletions.rend(); ++deletion)
    m_control.DeleteItem(*deletion);
  m_folders.ForgetChildren(folder);
  // Its children come as listed, and its ancestors' totals change.
  for (TreeItem changed = folder; changed != kNoItem; changed = m_folders.GetParentItem(changed)) {
    const auto opened = m_opened.find(NativeOf(changed));
    if (opened != m_opened.end()) opened->second.reset();
  }
  m_refillFolder = folder;
  m_refillBase = m_folders.GetCount();
}

namespace {

struct SortRule {
  FolderOrder order;
  const FolderChanges* changes;
};

int CALLBACK CompareFolders(LPARAM first, LPARAM second, LPARAM rule) {
  const auto& a = *reinterpret_cast<const FolderRecord*>(first);
  const auto& b = *reinterpret_cast<const FolderRecord*>(second);
  const auto& sort = *reinterpret_cast<const SortRule*>(rule);
  if (ComesBefore(sort.order, a, b, sort.changes)) return -1;
  return ComesBefore(sort.order, b, a, sort.changes) ? 1 : 0;
}

}  // namespace

void FolderTreeIndex::ShowInOrder(FolderOrder order, const FolderChanges* changes) {
  m_order = order;
  m_changes = changes;
  // Changes are matched anew after every scan: an order by them is always made again.
  if (order == FolderOrder::ByChange) {
    for (auto& opened : m_opened) opened.second.reset();
  }
  for (auto& [native, childrenOrder] : m_opened) PutChildrenInOrder(native, childrenOrder);
  if (const HTREEITEM selected = m_control.GetSelectedItem()) m_control.EnsureVisible(selected);
}

// Children arrive as listed.
void FolderTreeIndex::OnExpanding(HTREEITEM native) {
  if (native == nullptr || native == TVI_ROOT) return;  // the drives keep their order
  PutChildrenInOrder(native, m_opened.try_emplace(native, FolderOrder::Listed).first->second);
}

void FolderTreeIndex::PutChildrenInOrder(HTREEITEM native, std::optional<FolderOrder>& childrenOrder) {
  if (childrenOrder == m_order) return;
  SortRule rule{m_order, m_changes};
  m_control.SortChildren(native, CompareFolders, reinterpret_cast<LPARAM>(&rule));
  childrenOrder = m_order;
}

HTREEITEM FolderTreeIndex::NativeOf(TreeItem item) const {
  if (item == kNoItem || item > m_folders.GetCount()) return nullptr;
  return m_native.Resolve(item);
}

// A search, but only for what the user points at: never in a pass over the tree.
TreeItem FolderTreeIndex::IndexOf(HTREEITEM native) const {
  if (native == nullptr) return kNoItem;
  for (TreeItem item = 1; item <= m_folders.GetCount(); ++item) {
    if (m_native.Resolve(item) == native) return item;
  }
  return kNoItem;
}

TreeItem FolderTreeIndex::GetSelectedItem() const { return IndexOf(m_control.GetSelectedItem()); }

void FolderTreeIndex::SetItemText(TreeItem item, const char* text) {
  // A folder the control could not take has no label to write.
  if (const HTREEITEM native = NativeOf(item)) m_control.SetItemText(native, text);
}

std::string FolderTreeIndex::GetItemText(TreeItem item) const {
  const HTREEITEM native = NativeOf(item);
  return native != nullptr ? m_control.GetItemText(native) : std::string();
}

bool FolderTreeIndex::SelectItem(TreeItem item) {
  const HTREEITEM native = NativeOf(item);
  return native != nullptr && m_control.SelectItem(native);
}

TreeItem FolderTreeIndex::HitTest(POINT clientPoint) const { return IndexOf(m_control.HitTest(clientPoint)); }

bool FolderTreeIndex::GetItemTextRect(TreeItem item, RECT& rect) const {
  const HTREEITEM native = NativeOf(item);
  return native != nullptr && m_control.GetItemTextRect(native, rect);
}

void FolderTreeIndex::DeleteAllItems() {
  DeleteDeepSubtrees();
  m_control.DeleteAllItems();
  Clear();
}

void FolderTreeIndex::DeleteDeepSubtrees() {
  // So few items make no such depth: a wide tree goes in one message, as it always did.
  if (m_folders.GetCount() <= static_cast<std::size_t>(kLevelsPerDeletion)) return;
  std::vector<TreeItem> cuts;
  WalkPreOrderWithDepth(m_folders, -1, [&cuts](TreeItem item, int depth) {
    if (depth > 0 && depth % kLevelsPerDeletion == 0) cuts.push_back(item);
  });
  // Every item comes after its ancestors: backwards, each goes before any above it.
  for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
    if (const HTREEITEM native = NativeOf(*cut)) m_control.DeleteItem(native);
  }
}
