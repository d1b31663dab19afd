#!/usr/bin/env python3
"""The falling-code slide's picture, drawn into the folder given as the only argument:
  code_moon.png   800 x 600: a full moon over dark hills with a lit ridge line. The layer shows it
                  in picture mode 1, where each glyph is as bright as the picture under it, so the
                  moon and the ridge appear in the falling code.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, smoothstep  # noqa: E402

W, H = 800, 600
MOON_X, MOON_Y, MOON_R = 520.0, 220.0, 130.0


def ridge(x):
    return 420 + 40 * math.sin(x / 97.0) + 22 * math.sin(x / 31.0 + 1.3)


def pixel(x, y):
    d = math.hypot(x - MOON_X, y - MOON_Y)
    # The moon's disc with soft maria, and a glow around it.
    disc = 1.0 - smoothstep(MOON_R - 2, MOON_R + 2, d)
    maria = 0.75 + 0.25 * fractal_noise_2d(x / 40.0, y / 40.0, 64, 3, seed=5)
    glow = 0.35 * math.exp(-max(0.0, d - MOON_R) / 60.0)
    level = disc * maria + (1 - disc) * glow
    top = ridge(x)
    if y > top:
        # The hills: dark, with their crest lit by the moon.
        level = 0.05 + 0.85 * math.exp(-(y - top) / 6.0)
    v = 255 * min(1.0, level)
    return (v * 0.92, v * 0.96, v)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'code_moon.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
