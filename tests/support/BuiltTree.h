#pragma once
// A tree built by hand the way a scan builds it: every record in one store,
// knowing its parent and its place among its siblings.

#include <cstdint>

#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"

struct BuiltTree {
  // Appends a folder with ownFiles bytes of its own below parent.
  InsertedItem Add(InsertedItem parent, const char* name, std::uint64_t ownFiles = 0);

  FolderStore folders;
  MemoryTree tree;
};
