#pragma once
// A tree held in memory that implements both halves of the tree interface:
// the headless report's tree and the tests'. Used by one thread at a time:
// the worker inserts, and the completion notice hands it to the reader.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scan/Tree.h"

class MemoryTree : public TreeInserter, public TreeView {
 public:
  InsertedItem Insert(InsertedItem parent, const char* text, FolderRecord* record) override;
  void Flush() override {}

  TreeItem GetRootItem() const override { return m_nodes.empty() ? kNoItem : 1; }
  TreeItem GetChildItem(TreeItem item) const override { return At(item).firstChild; }
  TreeItem GetNextSiblingItem(TreeItem item) const override { return At(item).nextSibling; }
  TreeItem GetParentItem(TreeItem item) const override { return At(item).parent; }
  TreeItem GetSelectedItem() const override { return m_selected; }
  bool ItemHasChildren(TreeItem item) const override { return At(item).firstChild != kNoItem; }
  FolderRecord* GetItemData(TreeItem item) const override { return At(item).record; }
  // The text goes to the end of the tree's texts; a text replaced stays there until the tree is emptied.
  void SetItemText(TreeItem item, const char* text) override;
  void DeleteAllItems() override;
  // The item's children, and everything below them, leave the tree; their nodes stay
  // until it is emptied, so that handles are never given out twice.
  void ForgetChildren(TreeItem item);

  void SelectItem(TreeItem item) { m_selected = item; }
  std::string_view GetItemText(TreeItem item) const {
    return std::string_view(m_texts).substr(At(item).textStart, At(item).textLength);
  }
  std::size_t GetCount() const { return m_nodes.size(); }

 private:
  struct Node {
    TreeItem parent;
    TreeItem firstChild;
    TreeItem lastChild;
    TreeItem nextSibling;
    FolderRecord* record;
    std::size_t textStart;  // in m_texts
    std::size_t textLength;
  };
  void AddText(Node& node, const char* text);

  Node& At(TreeItem item) { return m_nodes[item - 1]; }
  const Node& At(TreeItem item) const { return m_nodes[item - 1]; }

  std::vector<Node> m_nodes;  // handle n is m_nodes[n - 1]
  std::string m_texts;        // every item's text in one buffer, not one allocation an item
  TreeItem m_lastTopLevel = kNoItem;
  TreeItem m_selected = kNoItem;
};
