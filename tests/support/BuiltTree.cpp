#include "tests/support/BuiltTree.h"

InsertedItem BuiltTree::Add(InsertedItem parent, const char* name, std::uint64_t ownFiles) {
  FolderRecord* parentRecord = parent == kTopLevel ? nullptr : tree.GetItemData(parent);
  std::uint32_t place = 0;
  for (TreeItem sibling = parent == kTopLevel ? tree.GetRootItem() : tree.GetChildItem(parent);
       sibling != kNoItem; sibling = tree.GetNextSiblingItem(sibling)) {
    ++place;
  }
  FolderRecord* record = folders.Add(name, parentRecord, place);
  record->ownFiles = ownFiles;
  return tree.Insert(parent, name, record);
}
