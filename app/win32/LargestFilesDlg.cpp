#include "app/win32/LargestFilesDlg.h"

#include <windowsx.h>

#include <algorithm>

#include "app/win32/framework/PopupMenu.h"
#include "platform/win32/WideText.h"
#include "res/resource.h"

namespace {

// The label as the list's W message takes it, so that it shows whatever the process
// code page; a label that is not UTF-8 shows as the replacement character.
std::wstring WideRow(const std::string& label) {
  std::wstring wide;
  if (!Utf8ToWide(label.c_str(), wide)) wide = L"\xFFFD";
  return wide;
}

}  // namespace

CLargestFilesDlg::CLargestFilesDlg(RowOpener open)
    : CDialogBase(IDD_LARGEST_FILES), m_open(std::move(open)) {}

HWND CLargestFilesDlg::List() const { return GetDlgItem(IDC_FILES); }

void CLargestFilesDlg::ShowRows(std::vector<LargestFileRow> rows) {
  m_rows = std::move(rows);
  const HWND list = List();
  const LRESULT current = SendMessageW(list, LB_GETCURSEL, 0, 0);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const LargestFileRow& row : m_rows) {
    const std::wstring wide = WideRow(row.label);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  // A new unit keeps the row the user was on.
  if (current >= 0 && static_cast<std::size_t>(current) < m_rows.size())
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SetScrollWidth();
}

std::string CLargestFilesDlg::GetRowText(int row) const {
  const LRESULT length = SendMessageW(List(), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(List(), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&text[0]));
  return WideToUtf8(text.c_str());
}

bool CLargestFilesDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      FitList();
      break;
    case WM_SIZE:
      FitList();
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_FILES && HIWORD(wParam) == LBN_DBLCLK) {
        OpenSelected();
        return true;
      }
      if (LOWORD(wParam) == ID_OPEN_IN_EXPLORER) {
        OpenSelected();
        return true;
      }
      break;
    case WM_VKEYTOITEM:
      // The list's keys: Enter opens the row, Escape closes; every other key is its own.
      if (LOWORD(wParam) == VK_RETURN) {
        OpenSelected();
        result = -2;
        return true;
      }
      if (LOWORD(wParam) == VK_ESCAPE) {
        OnCancel();
        result = -2;
        return true;
      }
      result = -1;
      return true;
    case WM_CONTEXTMENU:
      OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return true;
    default:
      break;
  }
  return CDialogBase::OnMessage(message, wParam, lParam, result);
}

void CLargestFilesDlg::OpenSelected() {
  const LRESULT row = SendMessageW(List(), LB_GETCURSEL, 0, 0);
  if (row >= 0 && static_cast<std::size_t>(row) < m_rows.size() && m_open)
    m_open(m_rows[static_cast<std::size_t>(row)]);
}

// On a row: that row, selected; from the keyboard: the selected row, at its corner.
void CLargestFilesDlg::OnContextMenu(POINT screenPoint) {
  const HWND list = List();
  if (screenPoint.x == -1 && screenPoint.y == -1) {
    const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
    RECT rect;
    if (row < 0 || SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row),
                                reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
      return;
    screenPoint = POINT{rect.left, rect.bottom};
    ClientToScreen(list, &screenPoint);
  } else {
    POINT client = screenPoint;
    ScreenToClient(list, &client);
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    if (HIWORD(hit) != 0) return;  // outside every row
    SendMessageW(list, LB_SETCURSEL, LOWORD(hit), 0);
  }
  CMenu menu;
  if (menu.Load(IDR_CONTEXT)) TrackPopupAt(menu.GetSubMenu(0), screenPoint, m_hWnd);
}

void CLargestFilesDlg::FitList() {
  RECT client;
  GetClientRect(m_hWnd, &client);
  MoveWindow(List(), 0, 0, client.right, client.bottom, TRUE);
}

void CLargestFilesDlg::SetScrollWidth() {
  const HWND list = List();
  const HDC context = GetDC(list);
  if (context == nullptr) return;
  const HGDIOBJ oldFont =
      SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  LONG widest = 0;
  for (const LargestFileRow& row : m_rows) {
    const std::wstring wide = WideRow(row.label);
    SIZE size;
    if (GetTextExtentPoint32W(context, wide.c_str(), static_cast<int>(wide.size()), &size))
      widest = std::max(widest, size.cx);
  }
  SelectObject(context, oldFont);
  ReleaseDC(list, context);
  SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + GetSystemMetrics(SM_CXEDGE) * 4),
               0);
}
