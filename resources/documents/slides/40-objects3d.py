#!/usr/bin/env python3
"""The 3D objects' slide picture, drawn into the folder given as the only argument:
  objects3d_garden.png   an autumn garden at dusk: a warm sky over a hedge and a lawn, with room
                         for a clock in the upper right and butterflies over the lawn
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, mix, smoothstep, fractal_noise_2d  # noqa: E402

WIDTH, HEIGHT = 960, 600


def garden(x, y):
    u, v = x / (WIDTH - 1), y / (HEIGHT - 1)
    sky = mix((250, 196, 130), (120, 150, 200), smoothstep(0.55, 0.0, v))
    hedge_line = 0.5 + 0.04 * math.sin(u * 17.0) + 0.03 * fractal_noise_2d(x, 0, 128, 3, seed=3)
    n = fractal_noise_2d(x, y, 64, 4, seed=5)
    hedge = mix((40, 70, 35), (85, 95, 40), 0.5 + 0.5 * n)
    lawn = mix((95, 135, 55), (60, 100, 40), smoothstep(0.62, 1.0, v) + 0.2 * n)
    colour = sky
    if v > hedge_line:
        colour = hedge
    if v > 0.68 + 0.02 * math.sin(u * 5.0):
        colour = lawn
    return colour


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'objects3d_garden.png'), WIDTH, HEIGHT, 3, garden)


if __name__ == '__main__':
    main()
