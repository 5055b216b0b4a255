#pragma once
#include "scan/ScanSession.h"
#include "scan/Tree.h"

// Deletes every item and drops this share of the scan whose records they
// showed; the records go with the last share.
void FreeAllItems(TreeView& tree, SharedScanSession& session);
