#include "app/win32/FolderTreeIndex.h"

void FolderTreeIndex::Insert(const PendingInsertion& pending) {
  // A parent this index does not hold would be a worker of another scan: never nest under it.
  const InsertedItem parent = pending.parent <= m_folders.GetCount() ? pending.parent : kTopLevel;
  const HTREEITEM native =
      m_control.InsertItem(TextOrEmpty(pending.text), pending.record, m_native.Resolve(parent));
  const InsertedItem item = m_folders.Insert(parent, "", pending.record);
  m_native.Add(item, native);
}

void FolderTreeIndex::Clear() {
  m_folders.DeleteAllItems();
  m_native.Clear();
}

TreeItem FolderTreeIndex::GetSelectedItem() const {
  const HTREEITEM selected = CTreeCtrl::ToHandle(m_control.GetSelectedItem());
  if (selected == nullptr) return kNoItem;
  for (TreeItem item = 1; item <= m_folders.GetCount(); ++item) {
    if (m_native.Resolve(item) == selected) return item;
  }
  return kNoItem;
}

void FolderTreeIndex::SetItemText(TreeItem item, const char* text) {
  const HTREEITEM native = m_native.Resolve(item);
  // A folder the control could not take has no label to write.
  if (native != TVI_ROOT && native != nullptr) m_control.SetItemText(CTreeCtrl::FromHandle(native), text);
}

void FolderTreeIndex::DeleteAllItems() {
  m_control.DeleteAllItems();
  Clear();
}
