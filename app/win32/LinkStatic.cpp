#include "app/win32/LinkStatic.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/win32/framework/DialogBase.h"
#include "platform/win32/WideText.h"
#include "res/resource.h"

namespace {

// Only plain text statics (left, centred, right) are drawn as links.
constexpr LONG kStaticKindMask = 0xFF;
constexpr LONG kLastTextKind = SS_RIGHT;
// ShellExecute's answers up to this value are failures.
constexpr INT_PTR kLastShellError = 32;

// As UTF-16: the link may be a path holding any character (the README beside the
// program), which the ANSI code page need not have.
std::wstring WindowText(HWND window) {
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
  GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

}  // namespace

CLinkStatic::CLinkStatic()
    : m_handCursor(static_cast<HCURSOR>(LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(IDC_HANDCURSOR),
                                                   IMAGE_CURSOR, GetSystemMetrics(SM_CXCURSOR),
                                                   GetSystemMetrics(SM_CYCURSOR), LR_DEFAULTCOLOR))) {}

CLinkStatic::~CLinkStatic() {
  Unsubclass();
  if (m_handCursor != nullptr) DestroyCursor(m_handCursor);
  if (m_linkFont != nullptr) DeleteObject(m_linkFont);
}

bool CLinkStatic::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case kReflectedCtlColor:
      result = reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam)));
      return true;
    case WM_NCHITTEST:
      // A static is transparent to the mouse unless it says otherwise.
      result = HTCLIENT;
      return true;
    case WM_SETCURSOR:
      SetCursor(m_handCursor);
      result = TRUE;
      return true;
    case WM_LBUTTONDOWN:
      OnLButtonDown();
      return false;  // the control's own handling follows
    default:
      return false;
  }
}

HBRUSH CLinkStatic::CtlColor(HDC dc) {
  if ((GetWindowLongA(m_hWnd, GWL_STYLE) & kStaticKindMask) > kLastTextKind) return nullptr;
  if (m_linkFont == nullptr) MakeLinkFont();
  if (m_linkFont != nullptr) SelectObject(dc, m_linkFont);
  SetTextColor(dc, RGB(0, 0, 255));
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

// The control's own font, underlined; made once, so a later change of the
// control's font leaves the link as it was.
void CLinkStatic::MakeLinkFont() {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA description = {};
  if (GetObjectA(font, sizeof description, &description) == 0) return;
  description.lfUnderline = TRUE;
  m_linkFont = CreateFontIndirectA(&description);
}

void CLinkStatic::OnLButtonDown() {
  const std::wstring text = WindowText(m_hWnd);
  const auto opened = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (opened <= kLastShellError) CopyTextToClipboard(m_hWnd, WideToUtf8(text.c_str()).c_str());
}

bool CopyTextToClipboard(HWND owner, const char* text) {
  std::wstring wide;
  if (!Utf8ToWide(text, wide) || !OpenClipboard(owner)) return false;
  bool placed = false;
  if (EmptyClipboard()) {
    const SIZE_T size = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    void* copy = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (copy != nullptr) {
      std::memcpy(copy, wide.c_str(), size);
      GlobalUnlock(memory);
      placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    // The clipboard owns the memory only once it has taken it.
    if (!placed && memory != nullptr) GlobalFree(memory);
  }
  CloseClipboard();
  return placed;
}
