// What the window models' layout tests share: a caption's width at 12 pixels and overlapping.
#pragma once

#include <string>

#include "common/window_layout.h"

// Width of a GBK caption in a 12-pixel font: 12 pixels per double-byte character, 6 per ASCII.
inline int TwelvePixelWidth(const std::string& caption) {
  int width = 0;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (static_cast<unsigned char>(caption[i]) >= 0x81 && i + 1 < caption.size()) {
      width += 12;
      ++i;
    } else {
      width += 6;
    }
  }
  return width;
}

inline bool Overlap(const Rect& a, const Rect& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}
