#pragma once
// The map of a finished tree as one standalone SVG picture: every block a
// <rect> in its colour, with the full path and total as the report prints
// them in its <title> (a browser shows it on hover), and the names of the
// folders with a header as <text>.

#include <cstddef>
#include <functional>

#include "map/TreeMap.h"
#include "scan/DisplayText.h"
#include "text/GroupedNumber.h"

// The height of a line of the picture's text, for MapRequest::lineHeight.
constexpr int kMapSvgLineHeight = 14;

struct MapSvgLabels {
  const DisplayText& display;  // the platform's; names are quoted as the report quotes them
  int unit;                    // index into kSizeUnits
  NumberLocale& locale;
};

using SvgSink = std::function<void(const char* bytes, std::size_t length)>;

// Writes the picture of map, laid out in (0, 0, width, height), to sink in
// pieces.
void WriteMapSvg(const TreeMap& map, int width, int height, const MapSvgLabels& labels, const SvgSink& sink);
