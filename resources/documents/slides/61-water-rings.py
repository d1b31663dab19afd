#!/usr/bin/env python3
"""The water-ring slide's picture, drawn into the folder given as the only argument:
  pool_floor.png   800 x 600: the tiled floor of a pool with a mosaic band and scattered pebbles,
                   seen through the rippling water of the layer.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, lattice, mix  # noqa: E402

W, H = 800, 600
TILE = 50
PEBBLES = [(lattice(i, 11) * 0.5 + 0.5, lattice(i, 12) * 0.5 + 0.5, 8 + 10 * (lattice(i, 13) * 0.5 + 0.5), i)
           for i in range(40)]


def pixel(x, y):
    tx, ty = x % TILE, y % TILE
    grout = min(tx, ty, TILE - 1 - tx, TILE - 1 - ty) < 2
    shade = 0.85 + 0.15 * fractal_noise_2d(x / 30.0, y / 30.0, 64, 2, seed=3)
    colour = (150, 205, 215)
    band = 250 <= y < 350
    if band:
        # A mosaic band of deep blue and gold squares.
        cell = (x // 25 + y // 25) % 3
        colour = ((30, 70, 160), (210, 170, 60), (40, 120, 190))[cell]
    if grout:
        colour = (225, 230, 225)
    for px, py, r, i in PEBBLES:
        d = math.hypot(x - px * W, y - py * H)
        if d < r:
            tone = (lattice(i, 14) * 0.5 + 0.5)
            pebble = mix((120, 100, 80), (190, 180, 160), tone)
            colour = mix(pebble, (60, 50, 40), (d / r) ** 4)
    return tuple(c * shade for c in colour)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'pool_floor.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
