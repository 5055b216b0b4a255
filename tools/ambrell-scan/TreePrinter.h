#pragma once
#include <cstddef>
#include <functional>

#include "scan/FolderOrder.h"
#include "scan/MemoryTree.h"

// Receives the printed text in chunks of whole lines.
using TextSink = std::function<void(const char* text, std::size_t length)>;

// Prints every label, each folder's subfolders in the given order, two spaces
// of indent a level, down to maxDepth below the drives (-1: all).
void PrintTree(const MemoryTree& tree, int maxDepth, FolderOrder order, const TextSink& sink);
