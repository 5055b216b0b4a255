#pragma once
// A saved scan (Ambrell's, ncdu's or gdu's) as the baseline a tree is
// compared with.

#include <string>

#include "saved/SavedScan.h"
#include "scan/Baseline.h"

// The scan's folders with their real names and totals; the scan is left as
// it was.
Baseline BaselineOf(const SavedScan& scan);

// Reads a saved scan file (a UTF-8 path) as a baseline. False, with
// "FILE:LINE:COLUMN: what is wrong" or "FILE: reason" in error, as
// ReadSavedScanFile; baseline is then unchanged.
bool ReadBaselineFile(const std::string& path, Baseline& baseline, std::string& error);
