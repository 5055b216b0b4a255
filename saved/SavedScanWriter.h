#pragma once
// Writes one drive of a finished tree (totals computed) in ncdu's JSON
// export format, major version 1, minor version 2: folders as arrays, depth
// first, every name byte for byte with control characters escaped. The walk
// keeps no file list, so a folder's own files are written as the folder's
// "asize" (and "dsize"): every total another tool computes from the file
// equals ours. A folder that could not be read carries "read_error":true.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "scan/DisplayText.h"
#include "scan/Tree.h"

// Receives the text in chunks.
using SavedScanSink = std::function<void(const char* bytes, std::size_t length)>;

// drive is a top-level item; its name in the file is its display text (the
// mount point, or the folder as given). timestamp is in seconds since 1970.
void WriteSavedScan(const TreeView& tree, TreeItem drive, const DisplayText& display, std::int64_t timestamp,
                    const SavedScanSink& sink);

// The same into a file (a UTF-8 path), stamped with the current time. False,
// with "FILE: reason" in error and no file left behind, when it cannot be
// written.
bool WriteSavedScanFile(const std::string& path, const TreeView& tree, TreeItem drive,
                        const DisplayText& display, std::string& error);
