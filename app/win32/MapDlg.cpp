#include "app/win32/MapDlg.h"

#include <windowsx.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/AppTexts.h"
#include "app/win32/MapPainter.h"
#include "platform/win32/WideText.h"
#include "res/resource.h"

namespace {

constexpr int kTooltipWidth = 600;  // long paths wrap rather than run off the screen

TTTOOLINFOW ToolOver(HWND window) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // what comctl32 5 and 6 both take
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  return tool;
}

void SetTitle(HWND window, const std::string& title) {
  std::wstring wide;
  if (!Utf8ToWide(title.c_str(), wide)) wide = L"\xFFFD";
  SetWindowTextW(window, wide.c_str());
}

}  // namespace

CMapDlg::CMapDlg(std::shared_ptr<const DisplayText> display, std::shared_ptr<NumberLocale> locale, int unit,
                 FolderSelector select)
    : CDialogBase(IDD_MAP),
      m_state(std::move(display), std::move(locale), unit),
      m_select(std::move(select)) {}

bool CMapDlg::IsOpen() const { return m_hWnd != nullptr && IsWindowVisible(m_hWnd) != FALSE; }

void CMapDlg::ShowFolder(const TreeView& tree, TreeItem folder, SharedScanSession session) {
  m_state.Show(tree, folder, std::move(session));
  ShowChange();
}

void CMapDlg::DropScan() {
  m_state.Drop();
  ShowChange();
}

void CMapDlg::OnScanEnded(const TreeView& tree, SharedScanSession session) {
  if (m_state.Path().empty()) return;  // closed meanwhile
  if (m_state.Remap(tree, std::move(session))) {
    ShowChange();
  } else {
    OnCancel();
  }
}

void CMapDlg::SetUnit(int unit) {
  m_state.SetUnit(unit);
  if (m_hWnd != nullptr) InvalidateRect(m_hWnd, nullptr, FALSE);
}

// Escape and the close box; the window stays for the next time, without the scan.
void CMapDlg::OnCancel() {
  m_state.Forget();
  m_hoverText.clear();
  if (m_hWnd == nullptr) return;
  ShowWindow(m_hWnd, SW_HIDE);
  ShowChange();
}

bool CMapDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      break;
    case WM_SIZE:
      LayOut();
      InvalidateRect(m_hWnd, nullptr, FALSE);
      return true;
    case WM_ERASEBKGND:
      result = TRUE;  // the painting covers every pixel
      return true;
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_LBUTTONDOWN:
      OnClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return true;
    case WM_ACTIVATE:
      // No control takes the keys: the window does.
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(m_hWnd);
      return true;
    case WM_DESTROY:
      m_state.Forget();
      m_tooltip = nullptr;  // an owned window: it goes with this one
      break;
    default:
      break;
  }
  return CDialogBase::OnMessage(message, wParam, lParam, result);
}

void CMapDlg::OnInit() {
  m_lineHeight = MapLineHeight(m_hWnd);
  m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, ResourceInstance(), nullptr);
  if (m_tooltip == nullptr) return;  // the map works without it
  TTTOOLINFOW tool = ToolOver(m_hWnd);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipWidth);
}

void CMapDlg::LayOut() {
  RECT client{};
  GetClientRect(m_hWnd, &client);
  m_state.Layout(MapRect{client.left, client.top, client.right, client.bottom}, m_lineHeight);
}

void CMapDlg::ShowChange() {
  if (m_hWnd == nullptr) return;
  const std::string title = m_state.Title();
  SetTitle(m_hWnd, title.empty() ? std::string(AMBRELL_TEXT_MAP_CAPTION) : title);
  LayOut();
  InvalidateRect(m_hWnd, nullptr, FALSE);
}

// Into a bitmap first, then to the window at once: the blocks never flicker.
void CMapDlg::OnPaint() {
  PAINTSTRUCT paint;
  const HDC window = BeginPaint(m_hWnd, &paint);
  if (window == nullptr) return;
  RECT client{};
  GetClientRect(m_hWnd, &client);
  const HDC memory = CreateCompatibleDC(window);
  const HBITMAP bitmap = CreateCompatibleBitmap(window, client.right, client.bottom);
  if (memory != nullptr && bitmap != nullptr) {
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    const HGDIOBJ oldFont =
        SelectObject(memory, reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
    PaintMap(memory, m_state, m_lineHeight);
    BitBlt(window, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  if (memory != nullptr) DeleteDC(memory);
  EndPaint(m_hWnd, &paint);
}

// The tooltip's text follows the block under the mouse.
void CMapDlg::OnMouseMove(int x, int y) {
  std::string text = m_state.HoverText(x, y);
  if (text == m_hoverText) return;
  m_hoverText = std::move(text);
  if (m_tooltip == nullptr) return;
  std::wstring wide;
  if (!Utf8ToWide(m_hoverText.c_str(), wide)) wide = L"\xFFFD";
  TTTOOLINFOW tool = ToolOver(m_hWnd);
  tool.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(m_tooltip, TTM_ACTIVATE, m_hoverText.empty() ? FALSE : TRUE, 0);
}

void CMapDlg::OnClick(int x, int y) {
  const TreeItem folder = m_state.FolderAt(x, y);
  if (folder != kNoItem && m_select) m_select(folder);
}

void CMapDlg::OnDoubleClick(int x, int y) {
  if (m_state.ZoomIn(x, y)) ShowChange();
}

void CMapDlg::OnKeyDown(WPARAM key) {
  if (key == VK_BACK && m_state.ZoomOut()) ShowChange();
  if (key == VK_ESCAPE) OnCancel();
}
