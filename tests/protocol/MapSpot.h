#pragma once
// Where a test clicks a folder's block on a map: inside its header, or inside a block
// without blocks of its own, so that the folder hit is that one and not a subfolder.

#include <cstring>
#include <string>

#include "map/TreeMap.h"

struct MapSpot {
  bool found = false;
  int x = 0;
  int y = 0;
};

inline MapSpot FindMapSpot(const TreeMap& map, const std::string& name) {
  for (const MapBlock& block : map.Blocks()) {
    if (block.IsOwnFiles() || name != block.record->name) continue;
    const MapRect& area = block.HasHeader() ? block.header : block.pixels;
    if (!block.HasHeader() && block.childCount != 0) continue;
    return MapSpot{true, (area.left + area.right) / 2, (area.top + area.bottom) / 2};
  }
  return MapSpot{};
}
