#pragma once
// Writes one drive of a scanned tree in ncdu's JSON
// export format, major version 1, minor version 2: folders as arrays, depth
// first, every name byte for byte with control characters escaped. The walk
// keeps no file list, so a folder's own files are written as one file entry
// of that folder, named kOwnFilesName and marked with kOwnFilesKey (which
// other readers skip), less the largest files the scan kept, which are file
// entries of their own: every total another tool computes from the file
// equals ours. A folder that could not be read, or whose reading an abort cut
// short, carries "read_error":true.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "scan/DisplayText.h"
#include "scan/LargestFiles.h"
#include "scan/Tree.h"

// The entry that stands for a folder's own files, as peers show it.
inline constexpr char kOwnFilesName[] = "(files in this folder)";
inline constexpr char kOwnFilesKey[] = "ambrell_own_files";

// Receives the text in chunks.
using SavedScanSink = std::function<void(const char* bytes, std::size_t length)>;

// drive is a top-level item; its name in the file is its display text (the
// mount point, or the folder as given). timestamp is in seconds since 1970.
void WriteSavedScan(const TreeView& tree, TreeItem drive, const DisplayText& display, std::int64_t timestamp,
                    const SavedScanSink& sink, const LargestFiles* largest = nullptr);
