#pragma once
#include <functional>
#include <string>

#include "scan/MemoryTree.h"

// Any tree as text, one item a line in tree order, two spaces of indent a level,
// each line what textOf says of the item.
std::string DumpTree(const TreeView& tree, const std::function<std::string(TreeItem)>& textOf);

// "name own-files" or "name total" from the records, or the labels.
std::string DumpRecords(const MemoryTree& tree);
std::string DumpTotals(const MemoryTree& tree);
std::string DumpLabels(const MemoryTree& tree);

// Each item whose record does not name its item's parent's record as its parent,
// or its row among its siblings as its place, one a line; empty when all do.
std::string MisplacedRecords(const TreeView& tree);
