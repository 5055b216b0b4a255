// Resizing the main dialog: the tree follows the window, the bottom row keeps
// its place against the bottom edge, a size grip sits in the corner, and the
// window keeps a minimum size.

#include <windowsx.h>

#include <algorithm>

#include "app/win32/AmbrellDlg.h"
#include "res/resource.h"

namespace {

// Measured once from the template's first layout and shared by every dialog:
// the template and the system metrics are the same for all.
struct LayoutMeasures {
  int marginX = 0;  // 0: not measured yet
  int marginY = 0;
  int buttonHeight = 0;
};
LayoutMeasures g_layout;

constexpr int kMinimumTrackSize = 250;
constexpr UINT kKeepPosition = SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER;
constexpr UINT kKeepSize = SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER;

RECT ClientRectOf(HWND dialog, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int WidthOf(const RECT& rect) { return rect.right - rect.left; }
int HeightOf(const RECT& rect) { return rect.bottom - rect.top; }

// The bottom-right square of a rectangle, as large as a scroll bar's arrow.
RECT CornerSquare(const RECT& rect) {
  return RECT{rect.right - GetSystemMetrics(SM_CXHSCROLL), rect.bottom - GetSystemMetrics(SM_CYVSCROLL),
              rect.right, rect.bottom};
}

}  // namespace

void CAmbrellDlg::OnSize(UINT type, int cx, int cy) {
  // Sizes that arrive while the dialog is being created leave the template's layout alone.
  if (!IsWindowVisible(m_hWnd)) return;
  const HWND tree = GetDlgItem(IDC_TREE);
  const HWND units = GetDlgItem(IDC_UNITS);
  const HWND refresh = GetDlgItem(IDC_REFRESH);
  const HWND close = GetDlgItem(IDC_CLOSE);
  if (g_layout.marginX == 0) {
    const RECT treeRect = ClientRectOf(m_hWnd, tree);
    g_layout = LayoutMeasures{static_cast<int>(treeRect.left), static_cast<int>(treeRect.top),
                              HeightOf(ClientRectOf(m_hWnd, close))};
  }
  m_bShowGrip = type != SIZE_MAXIMIZED;
  InvalidateRect(m_hWnd, &m_rcGrip, TRUE);

  const int mx = g_layout.marginX, my = g_layout.marginY, bh = g_layout.buttonHeight;
  // The bottom row sits a margin above the bottom edge, the tree a margin above the row.
  const int rowTop = cy - my - bh;
  const int treeTop = static_cast<int>(ClientRectOf(m_hWnd, tree).top);
  const int closeLeft = cx - mx - WidthOf(ClientRectOf(m_hWnd, close));
  const int refreshLeft = closeLeft - mx - WidthOf(ClientRectOf(m_hWnd, refresh));
  HDWP batch = BeginDeferWindowPos(4);
  batch = DeferWindowPos(batch, tree, nullptr, 0, 0, std::max(0, cx - 2 * mx),
                         std::max(0, rowTop - my - treeTop), kKeepPosition);
  batch = DeferWindowPos(batch, units, nullptr, ClientRectOf(m_hWnd, units).left, rowTop, 0, 0, kKeepSize);
  batch = DeferWindowPos(batch, refresh, nullptr, refreshLeft, rowTop, 0, 0, kKeepSize);
  batch = DeferWindowPos(batch, close, nullptr, closeLeft, rowTop, 0, 0, kKeepSize);
  if (batch != nullptr) EndDeferWindowPos(batch);
}

void CAmbrellDlg::OnPaint() {
  if (IsIconic(m_hWnd)) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(m_hWnd, &client);
    DrawIcon(dc, (WidthOf(client) - GetSystemMetrics(SM_CXICON) + 1) / 2,
             (HeightOf(client) - GetSystemMetrics(SM_CYICON) + 1) / 2, m_hIcon);
    EndPaint(m_hWnd, &paint);
    return;
  }
  DefWindowProcA(m_hWnd, WM_PAINT, 0, 0);
  if (!m_bShowGrip) return;
  RECT client;
  GetClientRect(m_hWnd, &client);
  m_rcGrip = CornerSquare(client);
  // Through a context for the whole client area: the grip is drawn over the children.
  const HDC dc = GetDC(m_hWnd);
  DrawFrameControl(dc, &m_rcGrip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  ReleaseDC(m_hWnd, dc);
  // The Close button repaints itself over whatever part of the grip crossed it.
  InvalidateRect(GetDlgItem(IDC_CLOSE), nullptr, TRUE);
}

LRESULT CAmbrellDlg::OnNcHitTest(LPARAM screenPoint) {
  const LRESULT code = DefWindowProcA(m_hWnd, WM_NCHITTEST, 0, screenPoint);
  if (code != HTCLIENT || !m_bShowGrip) return code;
  RECT window;
  GetWindowRect(m_hWnd, &window);
  const RECT grip = CornerSquare(window);
  const POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  return PtInRect(&grip, point) ? HTBOTTOMRIGHT : code;
}

void CAmbrellDlg::OnGetMinMaxInfo(MINMAXINFO& info) {
  info.ptMinTrackSize.x = kMinimumTrackSize;
  info.ptMinTrackSize.y = kMinimumTrackSize;
}
