#include "app/win32/framework/TreeControl.h"

#include <vector>

namespace {
constexpr int kClosedFolderImage = 0;
constexpr int kOpenFolderImage = 1;
}  // namespace

TreeItem CTreeCtrl::GetNextItem(TreeItem item, UINT relation) const {
  return static_cast<TreeItem>(SendMessageA(m_hWnd, TVM_GETNEXTITEM, relation, static_cast<LPARAM>(item)));
}

FolderRecord* CTreeCtrl::GetItemData(TreeItem item) const {
  TVITEMA data = {};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = ToHandle(item);
  if (!SendMessageA(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  return reinterpret_cast<FolderRecord*>(data.lParam);
}

void CTreeCtrl::SetItemText(TreeItem item, const char* text) {
  TVITEMA data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = ToHandle(item);
  data.pszText = const_cast<char*>(text);
  SendMessageA(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void CTreeCtrl::DeleteAllItems() {
  SendMessageA(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, FolderRecord* record, HTREEITEM parent) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(text);
  insert.item.iImage = kClosedFolderImage;
  insert.item.iSelectedImage = kOpenFolderImage;
  insert.item.lParam = reinterpret_cast<LPARAM>(record);
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool CTreeCtrl::SelectItem(TreeItem item) {
  return SendMessageA(m_hWnd, TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(item)) != 0;
}

TreeItem CTreeCtrl::HitTest(POINT clientPoint) const {
  TVHITTESTINFO hit = {};
  hit.pt = clientPoint;
  SendMessageA(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  // Anywhere on the row counts: label, picture, button, indent or the blank beyond.
  constexpr UINT kOnRow =
      TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT | TVHT_ONITEMSTATEICON;
  return (hit.flags & kOnRow) != 0 ? FromHandle(hit.hItem) : kNoItem;
}

bool CTreeCtrl::GetItemTextRect(TreeItem item, RECT& rect) const {
  // The message takes the item's handle in the rectangle's place.
  *reinterpret_cast<HTREEITEM*>(&rect) = ToHandle(item);
  return SendMessageA(m_hWnd, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)) != 0;
}

void CTreeCtrl::SetImageList(HIMAGELIST list) {
  SendMessageA(m_hWnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

std::string CTreeCtrl::GetItemText(TreeItem item) const {
  // Labels have no length limit of their own: grow until the text fits.
  for (std::size_t size = 260;; size *= 4) {
    std::vector<char> buffer(size);
    TVITEMA data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = ToHandle(item);
    data.pszText = buffer.data();
    data.cchTextMax = static_cast<int>(size);
    if (!SendMessageA(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return std::string();
    std::string text(data.pszText);
    if (text.size() + 1 < size || size > (1u << 20)) return text;
  }
}

void CTreeCtrl::SetRedraw(bool redraw) {
  SendMessageA(m_hWnd, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  if (redraw) InvalidateRect(m_hWnd, nullptr, TRUE);
}
