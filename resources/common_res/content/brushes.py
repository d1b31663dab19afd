#!/usr/bin/env python3
"""The brush effects' pictures of common_res.dll, drawn into the folder given as the only argument:
  water_bump.png   "DDS" 89: the water brush's bump, 256 x 256, tiling: red and green the slope of
                   a rippled surface around mid grey, blue near 1
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png  # noqa: E402

SIZE = 256
# Ripples as (waves across the tile in x, in y, amplitude, phase): whole numbers of waves, so the
# surface tiles.
RIPPLES = [(3, 1, 1.0, 0.0), (-2, 5, 0.7, 1.3), (7, -4, 0.45, 2.1), (11, 6, 0.3, 0.4), (-13, 9, 0.2, 2.8),
           (17, 19, 0.12, 1.9)]


def slope(x, y):
    """The gradient of the height sum of a sin (2 pi (kx x + ky y) / SIZE + phase)."""
    dx = dy = 0.0
    for kx, ky, a, phase in RIPPLES:
        c = a * math.cos(2 * math.pi * (kx * x + ky * y) / SIZE + phase)
        dx += c * kx
        dy += c * ky
    return dx, dy


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    peak = max(math.hypot(*slope(x, y)) for y in range(0, SIZE, 4) for x in range(0, SIZE, 4))

    def pixel(x, y):
        dx, dy = slope(x, y)
        sx, sy = dx / peak, dy / peak
        return (128 + 120 * sx, 128 + 120 * sy, 255 * math.sqrt(max(0.0, 1.0 - 0.5 * (sx * sx + sy * sy))))
    write_png(os.path.join(out, 'water_bump.png'), SIZE, SIZE, 3, pixel)


if __name__ == '__main__':
    main()
