#pragma once
#include <cstdio>

#include "scan/MemoryTree.h"

// Prints every label in tree order, two spaces of indent a level, down to
// maxDepth below the drives (-1: all).
void PrintTree(const MemoryTree& tree, int maxDepth, std::FILE* out);
