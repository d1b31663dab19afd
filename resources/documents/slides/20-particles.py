#!/usr/bin/env python3
"""The picture of the particles slide, drawn into the folder given as the only argument:
  particles_clearing.png   a clearing at dusk (640 x 360): a warm sky fading to violet, dark
                           hills and a meadow, for rays, fog, grass, flowers, a lantern, a
                           discharge, sparkles and distant flashes to play over
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, mix, smoothstep  # noqa: E402

W, H = 640, 360


def pixel(x, y):
    t = y / H
    sky = mix((46, 40, 92), (236, 150, 92), smoothstep(0.0, 0.62, t))
    hill = 0.55 + 0.06 * math.sin(x / 70.0) + 0.04 * fractal_noise_2d(x, 0.0, 64, 3, seed=3)
    if t > hill:
        n = fractal_noise_2d(x, y, 24, 3, seed=5)
        meadow = smoothstep(hill, hill + 0.2, t)
        base = mix((34, 30, 48), (38, 70, 40), meadow)
        return tuple(v * (0.8 + 0.3 * n) for v in base)
    return sky


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'particles_clearing.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
