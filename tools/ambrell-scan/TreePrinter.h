#pragma once
#include <cstddef>
#include <functional>

#include "scan/MemoryTree.h"

// Receives the printed text in chunks of whole lines.
using TextSink = std::function<void(const char* text, std::size_t length)>;

// Prints every label in tree order, two spaces of indent a level, down to
// maxDepth below the drives (-1: all).
void PrintTree(const MemoryTree& tree, int maxDepth, const TextSink& sink);
