#!/usr/bin/env python3
"""The flame slide's picture, drawn into the folder given as the only argument:
  hearth.png   800 x 600: the inside of a wide stone hearth at night - a sooty brick back wall
               lit from below, an iron grate and a long row of logs across the bottom, over which
               the layer's fire burns along the lower part of the picture.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, lattice, mix, smoothstep  # noqa: E402

W, H = 800, 600
BRICK_W, BRICK_H = 64, 26
GRATE_TOP = 500
# Logs as (centre x, centre y, half length, radius, tilt): a row across the whole width.
LOGS = [(60 + 96 * i + 20 * lattice(i, 5), 545 + 8 * lattice(i, 6), 70 + 12 * lattice(i, 7), 20 + 3 * lattice(i, 8),
         0.12 * lattice(i, 9)) for i in range(9)]


def brick(x, y):
    row = y // BRICK_H
    shift = (BRICK_W // 2) * (row % 2)
    bx, by = (x + shift) % BRICK_W, y % BRICK_H
    mortar = bx < 3 or by < 3
    tint = 0.75 + 0.25 * lattice((x + shift) // BRICK_W + 97 * row, 21)
    grain = 0.85 + 0.15 * fractal_noise_2d(x / 12.0, y / 12.0, 64, 2, seed=4)
    base = (70, 48, 40) if mortar else (120 * tint, 62 * tint, 44 * tint)
    return tuple(c * grain for c in base)


def log_at(x, y):
    """(colour, coverage) of the front-most log under the pixel, or None."""
    for cx, cy, half, radius, tilt in LOGS:
        dx, dy = x - cx, y - cy
        along = dx * math.cos(tilt) + dy * math.sin(tilt)
        across = -dx * math.sin(tilt) + dy * math.cos(tilt)
        if abs(along) > half + radius or abs(across) > radius:
            continue
        if abs(along) > half:  # the round cut end
            end = math.hypot(abs(along) - half, across)
            if end > radius:
                continue
            ring = 0.6 + 0.4 * math.cos(end * 0.9)
            return (150 * ring, 100 * ring, 60 * ring)
        bark = 0.7 + 0.3 * fractal_noise_2d(along / 6.0, across / 2.0, 64, 2, seed=7)
        shade = 0.45 + 0.55 * (1 - (across / radius) ** 2)
        ember = smoothstep(0.3, 1.0, across / radius)  # glowing underside
        return mix((60 * bark * shade, 38 * bark * shade, 25 * bark * shade), (230, 90, 20), 0.6 * ember)
    return None


def pixel(x, y):
    colour = brick(x, y)
    # Soot darkens the wall towards the top; the fire lights it from below.
    soot = smoothstep(0, 420, y)
    glow = 0.25 + 0.9 * soot
    colour = tuple(c * glow for c in colour)
    colour = mix(colour, (255, 140, 40), 0.25 * smoothstep(250, 600, y))
    if y >= GRATE_TOP and (x % 40 < 6 or abs(y - 575) < 4):
        colour = (35, 30, 30)  # the iron grate
    log = log_at(x, y)
    if log is not None:
        colour = log
    if y > 585:
        colour = mix(colour, (20, 14, 12), smoothstep(585, 600, y))  # the hearth stone's edge
    return colour


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    write_png(os.path.join(sys.argv[1], 'hearth.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
