// What the water tests measure of a ring: where a frame differs from another (the pixels for
// which `changed(x, y)` holds), how many pixels do, their centre, and how far the farthest of
// them lies from the centre of `from` (or from their own centre).
#pragma once

#include <algorithm>
#include <cmath>

struct RingChange {
  int count = 0;
  double x = 0.0, y = 0.0, reach = 0.0;
};

template <class Changed>
RingChange MeasureChange(int width, int height, Changed changed, const RingChange* from = nullptr) {
  RingChange c;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (changed(x, y)) {
        ++c.count;
        c.x += x;
        c.y += y;
      }
  if (c.count == 0) return c;
  c.x /= c.count;
  c.y /= c.count;
  const RingChange& centre = from ? *from : c;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (changed(x, y)) c.reach = std::max(c.reach, std::hypot(x - centre.x, y - centre.y));
  return c;
}
