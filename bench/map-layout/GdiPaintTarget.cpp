#include <windows.h>

#include "app/win32/MapPainter.h"
#include "bench/map-layout/MapPaintTarget.h"

struct MapPaintTarget::Surface {
  HDC context = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
  HGDIOBJ oldFont = nullptr;
  RECT bounds{};
  int lineHeight = 0;
};

MapPaintTarget::MapPaintTarget(int width, int height) : m_surface(std::make_unique<Surface>()) {
  Surface& surface = *m_surface;
  surface.bounds = RECT{0, 0, width, height};
  surface.context = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  surface.bitmap = CreateDIBSection(surface.context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  surface.oldBitmap = SelectObject(surface.context, surface.bitmap);
  surface.oldFont = SelectObject(surface.context, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  if (GetTextMetricsA(surface.context, &metrics)) surface.lineHeight = metrics.tmHeight;
}

MapPaintTarget::~MapPaintTarget() {
  SelectObject(m_surface->context, m_surface->oldFont);
  SelectObject(m_surface->context, m_surface->oldBitmap);
  DeleteObject(m_surface->bitmap);
  DeleteDC(m_surface->context);
}

const char* MapPaintTarget::Name() const { return "GDI into a DIB section"; }

int MapPaintTarget::LineHeight() const { return m_surface->lineHeight; }

void MapPaintTarget::Paint(const MapWindowState& state) {
  FillRect(m_surface->context, &m_surface->bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  PaintMap(m_surface->context, state, m_surface->lineHeight);
  GdiFlush();  // the DIB's pixels are written when this returns
}
