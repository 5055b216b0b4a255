#include "app/MapWindowState.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "saved/SavedScanWriter.h"
#include "scan/DisplayPath.h"
#include "scan/SizeLabels.h"

MapWindowState::MapWindowState(std::shared_ptr<const DisplayText> display,
                               std::shared_ptr<NumberLocale> locale, int unit)
    : m_display(std::move(display)), m_locale(std::move(locale)), m_unit(unit) {}

void MapWindowState::Show(const TreeView& tree, TreeItem folder, SharedScanSession session) {
  if (folder == kNoItem || !session) return Forget();
  m_session = std::move(session);
  m_tree = &tree;
  MapItem(folder);
}

void MapWindowState::Drop() {
  m_map = TreeMap();  // its blocks point at records
  m_folder = kNoItem;
  m_tree = nullptr;
  m_session.reset();
}

bool MapWindowState::Remap(const TreeView& tree, SharedScanSession session) {
  const TreeItem found = m_path.empty() ? kNoItem : FindPath(tree);
  if (found == kNoItem || !session) {
    Forget();
    return false;
  }
  Show(tree, found, std::move(session));
  return true;
}

void MapWindowState::Forget() {
  Drop();
  m_path.clear();
}

// Level by level from the drives, each name among one folder's subfolders: a chain of
// any depth is found without recursion.
TreeItem MapWindowState::FindPath(const TreeView& tree) const {
  TreeItem item = kNoItem;
  for (const std::string& name : m_path) {
    TreeItem child = item == kNoItem ? tree.GetRootItem() : tree.GetChildItem(item);
    while (child != kNoItem && name != tree.GetItemData(child)->name) child = tree.GetNextSiblingItem(child);
    if (child == kNoItem) return kNoItem;
    item = child;
  }
  return item;
}

void MapWindowState::MapItem(TreeItem folder) {
  m_folder = folder;
  m_path.clear();
  for (const FolderRecord* step = m_tree->GetItemData(folder); step != nullptr; step = step->parent)
    m_path.emplace_back(step->name);
  std::reverse(m_path.begin(), m_path.end());
  LayOut();
}

bool MapWindowState::ZoomIn(int x, int y) {
  const TreeItem folder = FolderAt(x, y);
  if (folder == kNoItem || folder == m_folder) return false;
  MapItem(folder);
  return true;
}

bool MapWindowState::ZoomOut() {
  if (!IsMapping()) return false;
  const TreeItem parent = m_tree->GetParentItem(m_folder);
  if (parent == kNoItem) return false;
  MapItem(parent);
  return true;
}

void MapWindowState::Layout(const MapRect& bounds, int lineHeight) {
  m_bounds = bounds;
  m_lineHeight = lineHeight;
  LayOut();
}

void MapWindowState::LayOut() {
  if (!IsMapping()) return;
  m_map.Layout(*m_tree, MapRequest{m_folder, m_bounds, m_lineHeight});
  m_locale->BeginPass();  // the labels of the next painting
}

void MapWindowState::SetUnit(int unit) {
  m_unit = unit;
  m_locale->BeginPass();
}

std::string MapWindowState::Title() const {
  if (!IsMapping()) return {};
  return ElidedPath(DisplayPathOf(*m_tree->GetItemData(m_folder), *m_display));
}

TreeItem MapWindowState::FolderAt(int x, int y) const { return IsMapping() ? m_map.FolderAt(x, y) : kNoItem; }

std::string MapWindowState::BlockLabel(const MapBlock& block) const {
  std::string name;
  if (block.IsOwnFiles()) {
    name = kOwnFilesName;
  } else {
    m_display->AppendName(block.record->name, block.record->parent == nullptr, name);
  }
  std::string label;
  AppendSizeLabel(name, block.size, m_unit, *m_locale, label);
  return label;
}

std::string MapWindowState::HoverText(int x, int y) const {
  if (!IsMapping()) return {};
  const std::size_t index = m_map.BlockAt(x, y);
  if (index == kNoBlock) return {};
  const MapBlock& block = m_map.Blocks()[index];
  const std::string path = block.IsOwnFiles() ? DisplayPathOf(*block.record, kOwnFilesName, *m_display)
                                              : DisplayPathOf(*block.record, *m_display);
  std::string text;
  AppendSizeLabel(ElidedPath(path), block.size, m_unit, *m_locale, text);
  return text;
}
