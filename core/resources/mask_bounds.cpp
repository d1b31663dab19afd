#include <algorithm>

#include "core/resources/mask_entry.h"

DS_MaskBounds MaskBoundsOfAlpha(const uint8_t* alpha, unsigned width, unsigned height, size_t pitch, size_t step) {
  DS_MaskBounds bounds;
  if (!alpha || width == 0 || height == 0) return bounds;
  unsigned left = width, top = height, right = 0, bottom = 0;  // texels [left, right) x [top, bottom)
  for (unsigned y = 0; y < height; ++y) {
    const uint8_t* row = alpha + y * pitch;
    for (unsigned x = 0; x < width; ++x) {
      if (row[x * step] == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x + 1);
      top = std::min(top, y);
      bottom = std::max(bottom, y + 1);
    }
  }
  if (right == 0) return DS_MaskBounds{0.0f, 0.0f, 0.0f, 0.0f};
  // A filtered sample mixes the two texels whose centres lie either side of it: beyond a texel's
  // edge it reaches on for half a texel.
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  bounds.left = std::max(0.0f, (static_cast<float>(left) - 0.5f) / w);
  bounds.top = std::max(0.0f, (static_cast<float>(top) - 0.5f) / h);
  bounds.right = std::min(1.0f, (static_cast<float>(right) + 0.5f) / w);
  bounds.bottom = std::min(1.0f, (static_cast<float>(bottom) + 0.5f) / h);
  return bounds;
}
