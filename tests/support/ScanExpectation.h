#pragma once
// What a scan of an in-memory machine must leave in a tree, counted from the machine's
// content without the engine's code: the folders in the order a scan inserts them, and
// each folder's total. A tree is checked against it after a scan has ended, complete or
// aborted.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scan/Tree.h"
#include "tests/support/MemoryFileSystem.h"

struct ExpectedFolder {
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

  std::string name;                      // the leaf name, or 'C:' for a drive
  std::size_t parent;                    // its parent's place in the scan order
  bool unreadable;                       // its listing fails
  std::vector<std::uint64_t> fileSizes;  // in listing order
  std::uint64_t total;                   // its files and everything below it
};

// Breadth first, drive after drive in letter order: the order a scan inserts folders.
std::vector<ExpectedFolder> ExpectedScanOrder(const MemoryFileSystem& machine);

// A label as the dialogs write it, with digits grouped by three with ','.
std::string ExpectedLabel(const std::string& name, std::uint64_t size, int unit);

struct ScannedTree {
  const TreeView& tree;
  std::function<std::string(TreeItem)> labelOf;
  int unit;
};

struct TreeCheck {
  std::string fault;  // empty when the tree is right
  bool complete;      // it holds every folder of the machine, each with its total
};

// A complete scan leaves every folder
// labelled with its total. One that may have been aborted leaves the start of the scan
// order: every folder's own files counted but the last one's, which counts the first of
// its files, and every label showing its accumulated record.
TreeCheck CheckScannedTree(const ScannedTree& scanned, const std::vector<ExpectedFolder>& expected,
                           bool mayBeAborted);
// A tree whose folder at path ('C:', 'C:\a\b') was scanned again last: its subtree as a
// scan of that folder alone leaves it (cut short only where it may have been aborted),
// and every other folder holding and showing its own files and its folders' totals.
// Never complete: the rest of the tree may be cut short from before.
TreeCheck CheckRefreshedTree(const ScannedTree& scanned, const MemoryFileSystem& machine,
                             const std::string& path, bool mayBeAborted);
