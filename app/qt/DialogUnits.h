#pragma once
// Dialog units to pixels, measured from a font the way Windows lays out its
// dialog templates: a quarter of the average letter width across, an eighth
// of the font height down. Laying out the Qt dialogs in the same units keeps
// their proportions those of the Windows program at any font size.

#include <QFont>
#include <QRect>

#include "app/DialogLayout.h"

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  QRect ToPixels(int x, int y, int width, int height) const;
  QRect ToPixels(const dialog_layout::Rect& rect) const { return ToPixels(rect.x, rect.y, rect.cx, rect.cy); }

 private:
  int m_baseX;  // average width of the 52 letters, in pixels
  int m_baseY;  // font height, in pixels
};
