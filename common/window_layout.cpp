// The geometry both windows' models share.
#include "common/window_layout.h"

Rect PlaceInWindow(Point inBox, Size size, Point boxCorner) {
  return Rect{boxCorner.x + inBox.x, boxCorner.y + inBox.y, size.width, size.height};
}

int CentredOrigin(int screenSize, int outerSize) { return (screenSize - outerSize) / 2; }
