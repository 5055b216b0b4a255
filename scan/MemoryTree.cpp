#include "scan/MemoryTree.h"

InsertedItem MemoryTree::Insert(InsertedItem parent, const char* text, FolderRecord* record) {
  m_nodes.push_back(Node{parent, kNoItem, kNoItem, kNoItem, record, text});
  const TreeItem item = m_nodes.size();
  TreeItem& previousLast = parent == kTopLevel ? m_lastTopLevel : At(parent).lastChild;
  if (previousLast != kNoItem) {
    At(previousLast).nextSibling = item;
  } else if (parent != kTopLevel) {
    At(parent).firstChild = item;
  }
  previousLast = item;
  return item;
}

void MemoryTree::DeleteAllItems() {
  m_nodes.clear();
  m_lastTopLevel = kNoItem;
  m_selected = kNoItem;
}
