#pragma once
// What a map window shows, apart from how it paints: the folder mapped, the
// path kept across scans, zooming in and out, the title, the blocks' labels
// and the hover text. Both dialogs' map windows are painters over this.
//
// While it maps a folder it holds the scan's session, the tree and the
// folder's item. When a scan starts it drops all three and keeps only the
// folder's path (the names from the drive down), so that nothing it holds
// can point into a tree or a store that goes; when the scan ends it finds
// the path again by those names.

#include <memory>
#include <string>
#include <vector>

#include "map/TreeMap.h"
#include "scan/DisplayText.h"
#include "scan/ScanSession.h"
#include "scan/Tree.h"
#include "text/GroupedNumber.h"

class MapWindowState {
 public:
  MapWindowState(std::shared_ptr<const DisplayText> display, std::shared_ptr<NumberLocale> locale, int unit);

  // Maps the folder of the tree (a drive's item maps the drive), keeping a share of
  // the session its records belong to.
  void Show(const TreeView& tree, TreeItem folder, SharedScanSession session);
  // A scan starts: the session, the tree and the layout go; the path stays.
  void Drop();
  // The scan has ended: maps the kept path again where the tree still has every name
  // of it. False, forgetting everything, when it is gone.
  bool Remap(const TreeView& tree, SharedScanSession session);
  // The window closed: nothing is kept.
  void Forget();

  bool IsMapping() const { return m_folder != kNoItem; }
  TreeItem Folder() const { return m_folder; }
  const std::vector<std::string>& Path() const { return m_path; }

  // Maps the folder drawn at the point (a double-click); false when that changes nothing.
  bool ZoomIn(int x, int y);
  // Maps the mapped folder's parent; false at a drive.
  bool ZoomOut();

  // The area and the text height the window lays out in; lays out again at once.
  void Layout(const MapRect& bounds, int lineHeight);
  // The labels' unit; they read the locale afresh too.
  void SetUnit(int unit);
  const TreeMap& Map() const { return m_map; }

  // The mapped folder's full path as the tree names it (ElidedPath); empty while
  // nothing is mapped.
  std::string Title() const;
  // The folder drawn at the point, or kNoItem.
  TreeItem FolderAt(int x, int y) const;
  // The block's name and total, as the tree labels a folder: 'Windows    (4 MB)'.
  std::string BlockLabel(const MapBlock& block) const;
  // The full path and total of what is drawn at the point; empty outside every block.
  std::string HoverText(int x, int y) const;

 private:
  void MapItem(TreeItem folder);
  void LayOut();
  TreeItem FindPath(const TreeView& tree) const;

  std::shared_ptr<const DisplayText> m_display;
  std::shared_ptr<NumberLocale> m_locale;
  int m_unit;
  SharedScanSession m_session;
  const TreeView* m_tree = nullptr;
  TreeItem m_folder = kNoItem;
  std::vector<std::string> m_path;  // record names, the drive's first
  MapRect m_bounds;
  int m_lineHeight = 0;
  TreeMap m_map;
};
