#pragma once
// A saved scan (Ambrell's, ncdu's or gdu's) as the baseline a tree is
// compared with.

#include "saved/SavedScan.h"
#include "scan/Baseline.h"

// The scan's folders with their real names and totals; the scan is left as
// it was.
Baseline BaselineOf(const SavedScan& scan);
