#include "app/DialogLayout.h"

#include <algorithm>

namespace dialog_layout {

void ApplyAnchors(Rect (&controls)[kMainControlCount], const Margins& margins, int cx, int cy) {
  const int rowTop = cy - margins.y - margins.rowHeight;
  for (const int index : kMainPlacingOrder) {
    const Anchor& anchor = kMainAnchors[index];
    Rect& rect = controls[index];
    switch (anchor.horizontal) {
      case Horizontal::Fill:
        rect.cx = std::max(0, cx - margins.x - rect.x);
        break;
      case Horizontal::Keep:
        break;
      case Horizontal::MarginFromRight:
        rect.x = cx - margins.x - rect.cx;
        break;
      case Horizontal::MarginLeftOf:
        rect.x = controls[anchor.other].x - margins.x - rect.cx;
        break;
    }
    if (anchor.vertical == Vertical::BottomRow) {
      rect.y = rowTop;
    } else {
      rect.cy = std::max(0, rowTop - margins.y - rect.y);
    }
  }
}

}  // namespace dialog_layout
