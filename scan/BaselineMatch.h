#pragma once
// Matches a scanned tree with a baseline by full path, folder by folder, and
// notes in a FolderChanges what each folder at or below the baseline's folder
// had there. A saved scan of '/home' matches the subtree at '/home' of the
// tree, and a saved scan of '/' the drive '/home' within it. Costs time in
// the folders of both, one hash lookup a folder, and no recursion.

#include <cstddef>

#include "scan/Baseline.h"
#include "scan/DisplayText.h"
#include "scan/FolderChanges.h"
#include "scan/PathMatching.h"
#include "scan/Tree.h"

// The tree's totals must be computed, names shown as display shows them.
// Returns how many folders of the tree the baseline's folder (or a drive
// below it) matched; 0 leaves changes as they were.
std::size_t MatchBaseline(const TreeView& tree, const Baseline& baseline, const DisplayText& display,
                          PathMatching rule, FolderChanges& changes);
