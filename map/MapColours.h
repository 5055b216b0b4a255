#pragma once
// The colours of the map's blocks, in plain RGB so that every painter (GDI,
// QPainter, the report's SVG) shows the same map. Each subfolder of the
// mapped folder (of each drive, on a map of the drives) has a hue of its own;
// every level below it is a lighter, paler shade of that hue. A folder's own
// files are a greyed shade of their folder's.

#include <cstdint>

struct MapColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const MapColour& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

constexpr int kNoHue = -1;  // the mapped folder or a drive, and own files beside the hues

// The colour of a block at depth (0: the mapped folder or a drive) with the
// given hue (the how-manieth hued block it descends from; kNoHue: grey).
MapColour BlockColour(int hue, int depth, bool ownFiles);
