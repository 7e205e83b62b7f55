// The geometry both windows' models share: sizes, rectangles, what an auto-sized control measures,
// a group box child's place in the window, and centring.
#pragma once

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int width = 0;
  int height = 0;
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
};

// What an auto-sized control measures: its caption in the window font, and the check glyph.
struct CaptionMetrics {
  Size text;         // extent of the caption, one line, no prefix processing
  Size checkGlyph;   // the check box or option button square
};

// The controls of a group box are the window's own children, so that their notifications reach
// the window; each is placed at the box's corner plus its own position, where the box's client
// area starts. A control of the window itself has the corner 0, 0.
Rect PlaceInWindow(Point inBox, Size size, Point boxCorner);

// Outer window origin that centres a window of outer size on a screen of screen size.
int CentredOrigin(int screenSize, int outerSize);
