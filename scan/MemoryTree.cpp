#include "scan/MemoryTree.h"

#include <cstring>

void MemoryTree::AddText(Node& node, const char* text) {
  const std::size_t length = std::strlen(text);
  m_texts.append(text, length);
  node.textStart = m_texts.size() - length;
  node.textLength = length;
}

void MemoryTree::SetItemText(TreeItem item, const char* text) { AddText(At(item), text); }

InsertedItem MemoryTree::Insert(InsertedItem parent, const char* text, FolderRecord* record) {
  Node node{parent, kNoItem, kNoItem, kNoItem, record, 0, 0};
  AddText(node, text);
  m_nodes.push_back(node);
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
  m_texts.clear();
  m_lastTopLevel = kNoItem;
  m_selected = kNoItem;
}

void MemoryTree::ForgetChildren(TreeItem item) {
  for (TreeItem above = m_selected; above != kNoItem; above = At(above).parent) {
    if (above == item) {
      m_selected = item;  // a selection that leaves with the children moves up to their parent
      break;
    }
  }
  Node& node = At(item);
  node.firstChild = kNoItem;
  node.lastChild = kNoItem;
}
