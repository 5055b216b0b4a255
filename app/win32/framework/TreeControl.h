#pragma once
// The tree-view control: a plain wrapper of the messages the dialog sends it. Its
// items are the control's own handles; the size tree the core walks is the index
// beside it (FolderTreeIndex). GUI thread only.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "scan/FolderRecord.h"

class CTreeCtrl {
 public:
  void Attach(HWND control) { m_hWnd = control; }
  void Detach() { m_hWnd = nullptr; }
  HWND GetSafeHwnd() const { return m_hWnd; }
  // Labels are UTF-8; under another process code page they go through the control's
  // W messages. Tests set the code page to try both ways.
  void SetTextCodePage(UINT codePage) { m_codePage = codePage; }

  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  void SetItemText(HTREEITEM item, const char* text);
  std::string GetItemText(HTREEITEM item) const;
  // The item and everything below it.
  void DeleteItem(HTREEITEM item);
  void DeleteAllItems();

  // Appends an item with the closed folder, the open one when selected, and
  // record as its data; null when the control could not take it.
  HTREEITEM InsertItem(const char* text, FolderRecord* record, HTREEITEM parent);
  bool SelectItem(HTREEITEM item);
  // Orders the children of parent by compare, which gets their records.
  void SortChildren(HTREEITEM parent, PFNTVCOMPARE compare, LPARAM data);
  void EnsureVisible(HTREEITEM item);
  // The item whose row holds a point of the client area, or null.
  HTREEITEM HitTest(POINT clientPoint) const;
  // The rectangle of an item's text; false when the item is out of view.
  bool GetItemTextRect(HTREEITEM item, RECT& rect) const;
  void SetImageList(HIMAGELIST list);
  // Keeps the control from drawing while many items change.
  void SetRedraw(bool redraw);

 private:
  HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const;
  bool WideText() const;

  HWND m_hWnd = nullptr;
  UINT m_codePage = GetACP();
};
