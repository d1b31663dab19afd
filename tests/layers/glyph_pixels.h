// What the falling-code tests count as a glyph on screen: a clearly green pixel (the tests draw
// green glyphs over white, black or grey pictures).
#pragma once

#include <cstdint>

inline bool IsGreen(std::uint32_t rgb) {
  const int r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
  return g > 60 && g > r + 40 && g > b + 40;
}
