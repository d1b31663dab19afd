#!/usr/bin/env python3
"""The flame pictures of common_res.dll, drawn into the folder given as the only argument:
  flame_tongues.png   "DDS" 7: the flame layer's pattern, 256 x 256 RGBA, tiling in u: flame
                      tongues whose alpha is high at the bottom (v = 1) and fades to 0 above
                      their tips
  heat_bump.png       "DDS" 62: the heat distortion's bump, 512 x 512, tiling: fine turbulence in
                      red and green around 128, blue 128
  fire_tongues.png    "DDS" 93: the fire brush's pattern, as 7 with narrower tongues
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import png_bytes, clamp_byte, fractal_noise_2d, smoothstep  # noqa: E402

PATTERN_SIZE = 256
BUMP_SIZE = 512
BUMP_PERIOD = 32  # lattice cells across the bump at its first octave: plenty of small detail

# Tongue heights as (whole waves across the tile, weight, phase): whole numbers, so u tiles.
WIDE_TONGUES = [(4, 0.20, 0.0), (7, 0.10, 1.1), (13, 0.06, 0.4), (23, 0.03, 2.2)]
NARROW_TONGUES = [(8, 0.20, 0.3), (13, 0.10, 1.7), (21, 0.06, 0.9), (34, 0.03, 2.6)]


def tongue_rows(tongues):
    """Rows of RGBA: under each tongue's edge the flame is opaque, white-yellow deep inside and
    orange towards its edge; above the edge it is transparent."""
    rows = []
    for y in range(PATTERN_SIZE):
        v = y / (PATTERN_SIZE - 1)
        row = bytearray()
        for x in range(PATTERN_SIZE):
            u = x / PATTERN_SIZE
            height = 0.6 + sum(w * math.cos(2 * math.pi * k * u + p) for k, w, p in tongues)
            tip = 1.0 - height                  # where the tongue ends (v grows downwards)
            inside = smoothstep(tip - 0.04, tip + 0.3, v)
            core = smoothstep(tip + 0.15, tip + 0.6, v)
            row += bytes((255, clamp_byte(120 + 135 * core), clamp_byte(40 + 160 * core * core),
                          clamp_byte(255 * inside)))
        rows.append(row)
    return rows


def bump_rows():
    scale = BUMP_PERIOD / BUMP_SIZE
    rows = []
    for y in range(BUMP_SIZE):
        row = bytearray()
        for x in range(BUMP_SIZE):
            r = fractal_noise_2d(x * scale, y * scale, BUMP_PERIOD, 3, seed=62)
            g = fractal_noise_2d(x * scale, y * scale, BUMP_PERIOD, 3, seed=162)
            row += bytes((clamp_byte(128 + 127 * r), clamp_byte(128 + 127 * g), 128))
        rows.append(row)
    return rows


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, tongues in (('flame_tongues.png', WIDE_TONGUES), ('fire_tongues.png', NARROW_TONGUES)):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(png_bytes(PATTERN_SIZE, PATTERN_SIZE, 4, tongue_rows(tongues)))
    with open(os.path.join(out, 'heat_bump.png'), 'wb') as f:
        f.write(png_bytes(BUMP_SIZE, BUMP_SIZE, 3, bump_rows()))


if __name__ == '__main__':
    main()
