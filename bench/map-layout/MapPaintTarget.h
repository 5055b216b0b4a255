#pragma once
// Where the benchmark paints a map as the dialog's map window does: a QImage
// through QPainter on Linux (the offscreen platform), a DIB section through
// GDI on Windows.

#include <memory>

#include "app/MapWindowState.h"

class MapPaintTarget {
 public:
  MapPaintTarget(int width, int height);
  ~MapPaintTarget();
  MapPaintTarget(const MapPaintTarget&) = delete;
  MapPaintTarget& operator=(const MapPaintTarget&) = delete;

  const char* Name() const;
  // The height of the painter's text, which headers are laid out for.
  int LineHeight() const;
  // Paints the background and every block with its label.
  void Paint(const MapWindowState& state);

 private:
  struct Surface;
  std::unique_ptr<Surface> m_surface;
};
