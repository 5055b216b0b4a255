#pragma once
// A map of the disk: a folder's subfolders and its own files as nested
// blocks, each block's area its share of the folder's total (a squarified
// treemap, Squarify.h). The painters (the dialogs' map windows, the report's
// SVG) draw the blocks in order, each over its parent, and ask which folder
// lies under a point.
//
// Work is bounded by the blocks drawn: a folder's subfolders are looked at
// only when the folder is drawn with room for blocks inside it, and the
// layout walks level by level with a queue of its own, so neither the size
// nor the depth of the tree bounds it.
//
// A painter lays out on every resize (Layout reuses its memory), then for
// each block in order: skips it when covered, fills its pixels with its
// colour, and writes its folder's name (DisplayText) in its header, clipped
// to the strip; a block without a header may show a name where the
// painter's text fits its pixels. A point under the mouse gives FolderAt,
// or BlockAt for the block itself (to show its size, or to outline it).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/MapColours.h"
#include "map/Squarify.h"
#include "scan/FolderRecord.h"
#include "scan/Tree.h"

// Pixels: left and top inside, right and bottom just past the edge.
struct MapRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const MapRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

constexpr std::size_t kNoBlock = static_cast<std::size_t>(-1);

struct MapBlock {
  TreeItem item = kNoItem;               // the folder; kNoItem for a folder's own files
  const FolderRecord* record = nullptr;  // the folder, or the one the own files are in
  std::uint64_t size = 0;                // its total, or the own files' size
  ExactRect exact;                       // its share, before rounding
  MapRect pixels;                        // what is painted: every edge of exact rounded
  MapRect header;                        // the strip for its name; empty when it has none
  int depth = 0;                         // 0: the mapped folder, or a drive
  int hue = kNoHue;                      // what colour derives from
  MapColour colour;
  std::size_t parent = kNoBlock;  // kNoBlock for a top-level block
  std::size_t firstChild = 0;     // its blocks follow each other from here
  std::size_t childCount = 0;
  bool covered = false;  // one of its blocks has all its pixels: painting it is wasted

  bool IsOwnFiles() const { return item == kNoItem; }
  bool HasHeader() const { return !header.IsEmpty(); }
  // Where its blocks lie: below its header.
  MapRect Content() const {
    return MapRect{pixels.left, HasHeader() ? header.bottom : pixels.top, pixels.right, pixels.bottom};
  }
};

struct MapRequest {
  TreeItem folder = kNoItem;  // kNoItem: every drive, each a top-level block
  MapRect bounds;
  int lineHeight = 0;  // of the painter's text, for headers
};

class TreeMap {
 public:
  // No block is drawn smaller than this on a side, and nothing is nested in it.
  static constexpr int kSmallestSide = 3;
  // Pixels a header takes beyond one line of text.
  static constexpr int kHeaderMargin = 2;

  // Lays the request out again (as on every resize), reusing the memory of
  // the last layout. The tree's totals must be computed.
  void Layout(const TreeView& tree, const MapRequest& request);

  // Parents before their blocks; a block's blocks follow each other.
  const std::vector<MapBlock>& Blocks() const { return m_blocks; }
  // The top-level blocks are the first ones.
  std::size_t TopLevelCount() const { return m_topLevelCount; }

  // The deepest block drawn at the point, or kNoBlock outside every block.
  std::size_t BlockAt(int x, int y) const;
  // The deepest folder drawn at the point (own files count as their
  // folder's), or kNoItem outside every block.
  TreeItem FolderAt(int x, int y) const;

 private:
  struct Part {
    TreeItem item;
    const FolderRecord* record;
    std::uint64_t size;
  };

  void CollectParts(const TreeView& tree, TreeItem folder, const FolderRecord* ownFilesOf);
  void PlaceParts(std::size_t parent, const ExactRect& content, int depth);
  void AddBlock(const Part& part, const ExactRect& exact, std::size_t parent, int depth);
  void Nest(const TreeView& tree, std::size_t index);

  std::vector<MapBlock> m_blocks;
  std::size_t m_topLevelCount = 0;
  int m_lineHeight = 0;
  int m_nextHue = 0;
  // Kept from one folder to the next.
  std::vector<Part> m_parts;
  std::vector<double> m_areas;
  std::vector<ExactRect> m_placed;
};
