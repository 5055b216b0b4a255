#pragma once
// The size tree in two halves: the worker inserts, the GUI thread navigates
// and labels. A front end may buffer insertions and carry them out later,
// so the handles the inserter returns are its own and mean nothing to the
// navigation half.

#include <cstdint>

struct FolderRecord;

using InsertedItem = std::uintptr_t;
constexpr InsertedItem kTopLevel = 0;  // parent of a drive's item

class TreeInserter {
 public:
  virtual ~TreeInserter() = default;
  // Appends an item at the end of parent's children; returns its handle at once.
  virtual InsertedItem Insert(InsertedItem parent, const char* text, FolderRecord* record) = 0;
  // Hands over whatever is buffered. Called on the worker before it posts completion.
  virtual void Flush() = 0;
};

using TreeItem = std::uintptr_t;
constexpr TreeItem kNoItem = 0;

class TreeView {
 public:
  virtual ~TreeView() = default;
  virtual TreeItem GetRootItem() const = 0;  // first top-level item
  virtual TreeItem GetChildItem(TreeItem item) const = 0;
  virtual TreeItem GetNextSiblingItem(TreeItem item) const = 0;
  virtual TreeItem GetParentItem(TreeItem item) const = 0;  // kNoItem for a top-level item
  virtual TreeItem GetSelectedItem() const = 0;
  virtual bool ItemHasChildren(TreeItem item) const = 0;
  virtual FolderRecord* GetItemData(TreeItem item) const = 0;
  virtual void SetItemText(TreeItem item, const char* text) = 0;
  virtual void DeleteAllItems() = 0;
};
