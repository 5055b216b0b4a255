#pragma once
#include "scan/Tree.h"

// Frees the record of every item, then deletes every item. Only while no
// scan is running: the worker may still be adding to a record.
void FreeAllItems(TreeView& tree);
