#pragma once
#include <cstddef>
#include <functional>
#include <string_view>

#include "scan/FolderOrder.h"
#include "scan/MemoryTree.h"

// Receives the printed text in chunks of whole lines.
using TextSink = std::function<void(const char* text, std::size_t length)>;
// An item's line, valid until the next call.
using ItemText = std::function<std::string_view(TreeItem item)>;

// Prints every item's text, each folder's subfolders in the given order, two
// spaces of indent a level, down to maxDepth below the drives (-1: all);
// changes, when given, order FolderOrder::ByChange.
void PrintTree(const TreeView& tree, int maxDepth, FolderOrder order, const ItemText& text,
               const TextSink& sink, const FolderChanges* changes = nullptr);
// The texts the tree holds.
void PrintTree(const MemoryTree& tree, int maxDepth, FolderOrder order, const TextSink& sink);
