#pragma once
// The report's map: the finished tree laid out with every drive a top-level
// block, saved as an SVG file whole or not at all (platform/ReplacementFile.h).

#include <string>

#include "scan/Tree.h"
#include "tools/ambrell-scan/MapSvg.h"

constexpr int kDefaultMapWidth = 1600;
constexpr int kDefaultMapHeight = 1000;
constexpr int kLargestMapSide = 20000;

// False, with "PATH: reason" in error, when the file could not be written;
// then the file at path is as it was and no temporary file is left.
bool SaveMapSvg(const std::string& path, const TreeView& tree, int width, int height,
                const MapSvgLabels& labels, std::string& error);
