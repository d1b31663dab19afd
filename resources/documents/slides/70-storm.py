#!/usr/bin/env python3
"""The storm slide's picture, drawn into the folder given as the only argument:
  spark_towers.png   800 x 500: two dark towers on a hill under a stormy night sky, each crowned
                     by a brass sphere; its discharge leaps between the two spheres at
                     (190, 132) and (618, 168).
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, mix, smoothstep  # noqa: E402

W, H = 800, 500
# Towers: centre x, top of the shaft, half width at the top and at the foot; sphere centre and radius.
TOWERS = [(190, 160, 10, 26, (190, 132), 24), (618, 194, 9, 24, (618, 168), 22)]


def hill(x):
    return 400 - 40 * math.sin(x / W * math.pi) - 12 * math.sin(x / 90.0)


def sky(x, y):
    t = y / H
    base = mix((12, 14, 34), (46, 40, 70), t)
    cloud = fractal_noise_2d(x / 160.0, y / 90.0, 16, 4, seed=71) * 0.5 + 0.5
    return mix(base, (70, 66, 96), smoothstep(0.55, 0.85, cloud) * (1 - t) * 0.8)


def pixel(x, y):
    colour = sky(x, y)
    if y > hill(x):
        grass = fractal_noise_2d(x / 40.0, y / 25.0, 32, 3, seed=72) * 0.5 + 0.5
        colour = mix((14, 22, 16), (30, 44, 28), grass)
    for cx, top, half_top, half_foot, (sx, sy), r in TOWERS:
        foot = hill(cx) + 6
        if top <= y <= foot:
            t = (y - top) / (foot - top)
            half = half_top + (half_foot - half_top) * t
            if abs(x - cx) <= half:
                side = (x - cx) / half
                colour = mix((40, 38, 44), (18, 17, 22), 0.5 + 0.5 * side)
                if int(y - top) % 28 < 2:
                    colour = (14, 13, 18)
        d = math.hypot(x - sx, y - sy)
        if d <= r:
            # A brass sphere lit from the upper left.
            nx, ny = (x - sx) / r, (y - sy) / r
            light = max(0.0, -0.6 * nx - 0.7 * ny + 0.4 * math.sqrt(max(0.0, 1 - nx * nx - ny * ny)))
            colour = mix((60, 42, 18), (230, 190, 110), min(1.0, light))
    return colour


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'spark_towers.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
