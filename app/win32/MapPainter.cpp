#include "app/win32/MapPainter.h"

#include <string>

#include "platform/win32/ProgramText.h"
#include "platform/win32/WideText.h"

namespace {

constexpr int kTextInset = 2;  // between a block's edge and its label

RECT RectOf(const MapRect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

COLORREF Darker(const MapColour& colour) {
  return RGB(colour.red * 5 / 7, colour.green * 5 / 7, colour.blue * 5 / 7);
}

// Labels are UTF-8: as they are where the process code page is UTF-8, else through
// the W function, so that every name shows on every Windows version.
int DrawLabel(HDC context, const std::string& label, RECT& rect, UINT format) {
  if (AnsiTakesUtf8(GetACP()))
    return DrawTextA(context, label.c_str(), static_cast<int>(label.size()), &rect, format);
  std::wstring wide;
  if (!Utf8ToWide(label.c_str(), wide)) wide = L"\xFFFD";
  return DrawTextW(context, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

void PaintLabel(HDC context, const MapWindowState& state, const MapBlock& block, int lineHeight) {
  if (!block.HasHeader() && block.pixels.Height() < lineHeight) return;
  const std::string label = state.BlockLabel(block);
  constexpr UINT kOneLine = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;
  if (block.HasHeader()) {
    RECT strip = RectOf(block.header);
    InflateRect(&strip, -kTextInset, 0);
    DrawLabel(context, label, strip, kOneLine | DT_LEFT | DT_END_ELLIPSIS);
    return;
  }
  RECT measured{0, 0, 0, 0};
  DrawLabel(context, label, measured, kOneLine | DT_CALCRECT);
  if (measured.right > block.pixels.Width() - 2 * kTextInset) return;
  RECT pixels = RectOf(block.pixels);
  DrawLabel(context, label, pixels, kOneLine | DT_CENTER);
}

}  // namespace

void PaintMap(HDC context, const MapWindowState& state, int lineHeight) {
  const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  const COLORREF oldBrushColour = GetDCBrushColor(context);
  const int oldMode = SetBkMode(context, TRANSPARENT);
  const COLORREF oldTextColour = SetTextColor(context, RGB(0, 0, 0));
  for (const MapBlock& block : state.Map().Blocks()) {
    if (block.covered) continue;
    const RECT pixels = RectOf(block.pixels);
    SetDCBrushColor(context, RGB(block.colour.red, block.colour.green, block.colour.blue));
    FillRect(context, &pixels, brush);
    SetDCBrushColor(context, Darker(block.colour));
    FrameRect(context, &pixels, brush);
    PaintLabel(context, state, block, lineHeight);
  }
  SetTextColor(context, oldTextColour);
  SetBkMode(context, oldMode);
  SetDCBrushColor(context, oldBrushColour);
}

int MapLineHeight(HWND window) {
  const HDC context = GetDC(window);
  if (context == nullptr) return 0;
  const HGDIOBJ oldFont =
      SelectObject(context, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  const int height = GetTextMetricsA(context, &metrics) ? metrics.tmHeight : 0;
  SelectObject(context, oldFont);
  ReleaseDC(window, context);
  return height;
}
