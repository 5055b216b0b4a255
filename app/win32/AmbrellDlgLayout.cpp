// Resizing the main dialog: the tree follows the window, the bottom row keeps
// its place against the bottom edge, a size grip sits in the corner, and the
// window keeps a minimum size.

#include <windowsx.h>

#include "app/DialogLayout.h"
#include "app/win32/AmbrellDlg.h"
#include "res/resource.h"

namespace {

constexpr int kMinimumTrackSize = 250;
constexpr UINT kPlaceOnly = SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE;
// A drop-down list's height is its dropped list's, not the box's: moved controls keep theirs.
constexpr UINT kMoveOnly = kPlaceOnly | SWP_NOSIZE;

constexpr int kMainControlIds[dialog_layout::kMainControlCount] = {IDC_TREE, IDC_UNITS, IDC_REFRESH,
                                                                   IDC_CLOSE};

dialog_layout::Rect ClientRectOf(HWND dialog, HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return dialog_layout::Rect{static_cast<int>(rect.left), static_cast<int>(rect.top),
                             static_cast<int>(rect.right - rect.left),
                             static_cast<int>(rect.bottom - rect.top)};
}

int WidthOf(const RECT& rect) { return rect.right - rect.left; }
int HeightOf(const RECT& rect) { return rect.bottom - rect.top; }

// The bottom-right square of a rectangle, as large as a scroll bar's arrow.
RECT CornerSquare(const RECT& rect) {
  return RECT{rect.right - GetSystemMetrics(SM_CXHSCROLL), rect.bottom - GetSystemMetrics(SM_CYVSCROLL),
              rect.right, rect.bottom};
}

}  // namespace

// The controls follow the size through the shared anchor table, with the margins of
// the template's first layout.
void CAmbrellDlg::OnSize(UINT type, int cx, int cy) {
  // Sizes that arrive while the dialog is being created leave the template's layout alone.
  if (!IsWindowVisible(m_hWnd)) return;
  dialog_layout::Rect controls[dialog_layout::kMainControlCount];
  for (int i = 0; i < dialog_layout::kMainControlCount; ++i) {
    controls[i] = ClientRectOf(m_hWnd, GetDlgItem(kMainControlIds[i]));
  }
  if (m_margins.x == 0) {
    m_margins = dialog_layout::Margins{controls[dialog_layout::kTree].x, controls[dialog_layout::kTree].y,
                                       controls[dialog_layout::kClose].cy};
  }
  m_bShowGrip = type != SIZE_MAXIMIZED;
  InvalidateRect(m_hWnd, &m_rcGrip, TRUE);

  dialog_layout::ApplyAnchors(controls, m_margins, cx, cy);
  HDWP batch = BeginDeferWindowPos(dialog_layout::kMainControlCount);
  for (int i = 0; i < dialog_layout::kMainControlCount; ++i) {
    const dialog_layout::Rect& place = controls[i];
    const UINT flags = dialog_layout::Stretches(dialog_layout::kMainAnchors[i]) ? kPlaceOnly : kMoveOnly;
    batch = DeferWindowPos(batch, GetDlgItem(kMainControlIds[i]), nullptr, place.x, place.y, place.cx,
                           place.cy, flags);
  }
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
