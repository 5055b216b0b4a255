#pragma once
// The tree-view control as the size tree: navigation and labels for the
// totals and label passes, insertion of the worker's folders, and what the
// context menu needs. GUI thread only; the item handles are the control's.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "scan/Tree.h"

class CTreeCtrl : public TreeView {
 public:
  void Attach(HWND control) { m_hWnd = control; }
  // Labels are UTF-8; under another process code page they go through the control's
  // W messages. Tests set the code page to try both ways.
  void SetTextCodePage(UINT codePage) { m_codePage = codePage; }
  void Detach() { m_hWnd = nullptr; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  TreeItem GetRootItem() const override { return GetNextItem(kNoItem, TVGN_ROOT); }
  TreeItem GetChildItem(TreeItem item) const override { return GetNextItem(item, TVGN_CHILD); }
  TreeItem GetNextSiblingItem(TreeItem item) const override { return GetNextItem(item, TVGN_NEXT); }
  TreeItem GetParentItem(TreeItem item) const override { return GetNextItem(item, TVGN_PARENT); }
  TreeItem GetSelectedItem() const override { return GetNextItem(kNoItem, TVGN_CARET); }
  bool ItemHasChildren(TreeItem item) const override { return GetChildItem(item) != kNoItem; }
  FolderRecord* GetItemData(TreeItem item) const override;
  void SetItemText(TreeItem item, const char* text) override;
  void DeleteAllItems() override;

  // Appends an item with the closed folder, the open one when selected, and
  // record as its data; null when the control could not take it.
  HTREEITEM InsertItem(const char* text, FolderRecord* record, HTREEITEM parent);
  bool SelectItem(TreeItem item);
  // The item whose row holds a point of the client area, or kNoItem.
  TreeItem HitTest(POINT clientPoint) const;
  // The rectangle of an item's text; false when the item is out of view.
  bool GetItemTextRect(TreeItem item, RECT& rect) const;
  void SetImageList(HIMAGELIST list);
  std::string GetItemText(TreeItem item) const;
  // Keeps the control from drawing while many items change.
  void SetRedraw(bool redraw);

  static HTREEITEM ToHandle(TreeItem item) { return reinterpret_cast<HTREEITEM>(item); }
  static TreeItem FromHandle(HTREEITEM item) { return reinterpret_cast<TreeItem>(item); }

 private:
  TreeItem GetNextItem(TreeItem item, UINT relation) const;
  bool WideText() const;

  HWND m_hWnd = nullptr;
  UINT m_codePage = GetACP();
};
