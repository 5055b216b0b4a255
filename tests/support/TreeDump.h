#pragma once
#include <string>

#include "scan/MemoryTree.h"

// The tree as text, one item a line in tree order, two spaces of indent a
// level: "name size" from the records, or the labels.
std::string DumpRecords(const MemoryTree& tree);
std::string DumpLabels(const MemoryTree& tree);
