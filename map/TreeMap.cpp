#include "map/TreeMap.h"

#include <algorithm>
#include <cmath>

namespace {

// A share smaller than this has a side under 2 pixels, which rounds to fewer
// than TreeMap::kSmallestSide.
constexpr double kNegligibleArea = (TreeMap::kSmallestSide - 1) * (TreeMap::kSmallestSide - 1);

// One rounding for every edge: blocks that share an exact edge share its
// pixel edge, so siblings never overlap and never leave a gap between them.
int RoundEdge(double edge) { return static_cast<int>(std::floor(edge + 0.5)); }

MapRect Rounded(const ExactRect& exact) {
  return MapRect{RoundEdge(exact.left), RoundEdge(exact.top), RoundEdge(exact.right),
                 RoundEdge(exact.bottom)};
}

bool IsDrawable(const MapRect& pixels) {
  return pixels.Width() >= TreeMap::kSmallestSide && pixels.Height() >= TreeMap::kSmallestSide;
}

}  // namespace

void TreeMap::Layout(const TreeView& tree, const MapRequest& request) {
  m_blocks.clear();
  m_topLevelCount = 0;
  m_lineHeight = request.lineHeight;
  m_nextHue = 0;
  const MapRect& bounds = request.bounds;
  const ExactRect exact{double(bounds.left), double(bounds.top), double(bounds.right), double(bounds.bottom)};
  if (request.folder == kNoItem) {
    CollectParts(tree, kNoItem, nullptr);
    PlaceParts(kNoBlock, exact, 0);
  } else if (IsDrawable(bounds)) {
    const FolderRecord* record = tree.GetItemData(request.folder);
    AddBlock(Part{request.folder, record, record->size}, exact, kNoBlock, 0);
  }
  m_topLevelCount = m_blocks.size();
  // The blocks are the queue: each is nested once every block before it is.
  for (std::size_t i = 0; i < m_blocks.size(); ++i) Nest(tree, i);
}

// The folder's subfolders that hold anything, and its own files when it has
// any, largest first; equal sizes as listed, own files after the folders.
// folder kNoItem: the drives.
void TreeMap::CollectParts(const TreeView& tree, TreeItem folder, const FolderRecord* ownFilesOf) {
  m_parts.clear();
  for (TreeItem child = folder == kNoItem ? tree.GetRootItem() : tree.GetChildItem(folder); child != kNoItem;
       child = tree.GetNextSiblingItem(child)) {
    const FolderRecord* record = tree.GetItemData(child);
    if (record->size > 0) m_parts.push_back(Part{child, record, record->size});
  }
  if (ownFilesOf != nullptr && ownFilesOf->ownFiles > 0)
    m_parts.push_back(Part{kNoItem, ownFilesOf, ownFilesOf->ownFiles});
  std::stable_sort(m_parts.begin(), m_parts.end(),
                   [](const Part& a, const Part& b) { return a.size > b.size; });
}

// Shares are taken of the parts' own sum, not of the parent's total: a total
// stopped at the largest size is less than its parts, and the parts must
// still fill the content. Long double holds the sum of any number of them.
void TreeMap::PlaceParts(std::size_t parent, const ExactRect& content, int depth) {
  if (m_parts.empty()) return;
  long double sum = 0;
  for (const Part& part : m_parts) sum += part.size;
  const long double area = static_cast<long double>(content.Width()) * content.Height();
  m_areas.resize(m_parts.size());
  for (std::size_t i = 0; i < m_parts.size(); ++i)
    m_areas[i] = static_cast<double>(m_parts[i].size / sum * area);
  m_placed.resize(m_parts.size());
  const std::size_t placed =
      Squarify(m_areas.data(), m_areas.size(), content, kNegligibleArea, m_placed.data());
  const std::size_t first = m_blocks.size();
  for (std::size_t i = 0; i < placed; ++i) {
    if (IsDrawable(Rounded(m_placed[i]))) AddBlock(m_parts[i], m_placed[i], parent, depth);
  }
  if (parent == kNoBlock) return;
  MapBlock& block = m_blocks[parent];
  block.firstChild = first;
  block.childCount = m_blocks.size() - first;
  for (std::size_t i = first; i < m_blocks.size(); ++i) {
    if (m_blocks[i].pixels == block.pixels) block.covered = true;
  }
}

void TreeMap::AddBlock(const Part& part, const ExactRect& exact, std::size_t parent, int depth) {
  MapBlock block;
  block.item = part.item;
  block.record = part.record;
  block.size = part.size;
  block.exact = exact;
  block.pixels = Rounded(exact);
  block.depth = depth;
  block.parent = parent;
  if (depth == 1 && !block.IsOwnFiles()) {
    block.hue = m_nextHue++;
  } else if (depth > 1) {
    block.hue = m_blocks[parent].hue;
  }
  block.colour = BlockColour(block.hue, depth, block.IsOwnFiles());
  if (!block.IsOwnFiles() && m_lineHeight > 0 && block.pixels.Height() >= m_lineHeight + kHeaderMargin) {
    block.header = block.pixels;
    block.header.bottom = block.pixels.top + m_lineHeight + kHeaderMargin;
  }
  m_blocks.push_back(block);
}

// Lays out the folder's parts in its content, when there is room for any.
void TreeMap::Nest(const TreeView& tree, std::size_t index) {
  const MapBlock& block = m_blocks[index];
  if (block.IsOwnFiles() || !IsDrawable(block.Content())) return;
  ExactRect content = block.exact;
  if (block.HasHeader()) content.top = block.header.bottom;
  const int depth = block.depth + 1;
  CollectParts(tree, block.item, block.record);
  PlaceParts(index, content, depth);
}

std::size_t TreeMap::BlockAt(int x, int y) const {
  std::size_t found = kNoBlock;
  std::size_t first = 0;
  std::size_t count = m_topLevelCount;
  for (;;) {
    std::size_t hit = kNoBlock;
    for (std::size_t i = first; i < first + count; ++i) {
      if (m_blocks[i].pixels.Contains(x, y)) {
        hit = i;
        break;
      }
    }
    if (hit == kNoBlock) return found;
    found = hit;
    first = m_blocks[hit].firstChild;
    count = m_blocks[hit].childCount;
  }
}

TreeItem TreeMap::FolderAt(int x, int y) const {
  const std::size_t index = BlockAt(x, y);
  if (index == kNoBlock) return kNoItem;
  const MapBlock& block = m_blocks[index];
  return block.IsOwnFiles() ? m_blocks[block.parent].item : block.item;
}
