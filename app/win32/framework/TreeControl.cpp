#include "app/win32/framework/TreeControl.h"

#include <vector>

#include "platform/win32/ProgramText.h"
#include "platform/win32/WideText.h"

namespace {
constexpr int kClosedFolderImage = 0;
constexpr int kOpenFolderImage = 1;
}  // namespace

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT relation) const {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(m_hWnd, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool CTreeCtrl::WideText() const { return !AnsiTakesUtf8(m_codePage); }

namespace {

// The UTF-8 label as the control's W messages take it (a lone surrogate of a name as
// the unit itself); text that is not UTF-8 (which no listing returns) shows as the
// replacement character rather than nothing.
std::wstring WideLabel(const char* text) {
  std::wstring wide;
  if (!Utf8ToWide(text, wide)) wide = L"\xFFFD";
  return wide;
}

}  // namespace

void CTreeCtrl::SetItemText(HTREEITEM item, const char* text) {
  if (WideText()) {
    std::wstring wide = WideLabel(text);
    TVITEMW data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = &wide[0];
    SendMessageW(m_hWnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return;
  }
  TVITEMA data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = const_cast<char*>(text);
  SendMessageA(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
}

void CTreeCtrl::DeleteItem(HTREEITEM item) {
  SendMessageA(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void CTreeCtrl::DeleteAllItems() { DeleteItem(TVI_ROOT); }

namespace {

template <typename Insert>
void DescribeFolderItem(Insert& insert, FolderRecord* record, HTREEITEM parent) {
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE;
  insert.item.iImage = kClosedFolderImage;
  insert.item.iSelectedImage = kOpenFolderImage;
  insert.item.lParam = reinterpret_cast<LPARAM>(record);
}

}  // namespace

HTREEITEM CTreeCtrl::InsertItem(const char* text, FolderRecord* record, HTREEITEM parent) {
  if (WideText()) {
    std::wstring wide = WideLabel(text);
    TVINSERTSTRUCTW insert = {};
    DescribeFolderItem(insert, record, parent);
    insert.item.pszText = &wide[0];
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(m_hWnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  TVINSERTSTRUCTA insert = {};
  DescribeFolderItem(insert, record, parent);
  insert.item.pszText = const_cast<char*>(text);
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool CTreeCtrl::SelectItem(HTREEITEM item) {
  return SendMessageA(m_hWnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

HTREEITEM CTreeCtrl::HitTest(POINT clientPoint) const {
  TVHITTESTINFO hit = {};
  hit.pt = clientPoint;
  SendMessageA(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  // Anywhere on the row counts: label, picture, button, indent or the blank beyond.
  constexpr UINT kOnRow =
      TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT | TVHT_ONITEMSTATEICON;
  return (hit.flags & kOnRow) != 0 ? hit.hItem : nullptr;
}

bool CTreeCtrl::GetItemTextRect(HTREEITEM item, RECT& rect) const {
  // The message takes the item's handle in the rectangle's place.
  *reinterpret_cast<HTREEITEM*>(&rect) = item;
  return SendMessageA(m_hWnd, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)) != 0;
}

void CTreeCtrl::SetImageList(HIMAGELIST list) {
  SendMessageA(m_hWnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

namespace {

// Labels have no length limit of their own: grow until the text fits.
template <typename Char, typename Item, UINT kGetItem>
std::basic_string<Char> ReadItemText(HWND control, HTREEITEM item) {
  for (std::size_t size = 260;; size *= 4) {
    std::vector<Char> buffer(size);
    Item data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = buffer.data();
    data.cchTextMax = static_cast<int>(size);
    // Tree-view messages pass through unconverted whichever way they are sent.
    if (!SendMessageW(control, kGetItem, 0, reinterpret_cast<LPARAM>(&data))) return {};
    std::basic_string<Char> text(data.pszText);
    if (text.size() + 1 < size || size > (1u << 20)) return text;
  }
}

}  // namespace

std::string CTreeCtrl::GetItemText(HTREEITEM item) const {
  if (WideText()) return WideToUtf8(ReadItemText<wchar_t, TVITEMW, TVM_GETITEMW>(m_hWnd, item).c_str());
  return ReadItemText<char, TVITEMA, TVM_GETITEMA>(m_hWnd, item);
}

void CTreeCtrl::SetRedraw(bool redraw) {
  SendMessageA(m_hWnd, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  if (redraw) InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CTreeCtrl::SortChildren(HTREEITEM parent, PFNTVCOMPARE compare, LPARAM data) {
  TVSORTCB sort = {};
  sort.hParent = parent;
  sort.lpfnCompare = compare;
  sort.lParam = data;
  SendMessageA(m_hWnd, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void CTreeCtrl::EnsureVisible(HTREEITEM item) {
  SendMessageA(m_hWnd, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
}
