#!/usr/bin/env python3
"""The picture of the rain slide, drawn into the folder given as the only argument:
  rain_field.png   a rainy field (640 x 360): a low grey overcast sky, a line of dark hills
                   half hidden in the rain and a wet green field with furrows, for rain and a
                   few birds flying under the clouds
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
    clouds = fractal_noise_2d(x / 48.0, y / 20.0, 64, 4, seed=11)
    sky = mix((78, 86, 98), (150, 158, 166), smoothstep(0.0, 0.55, t))
    sky = tuple(v * (0.92 + 0.12 * clouds) for v in sky)
    hills = 0.56 + 0.05 * math.sin(x / 90.0 + 1.0) + 0.04 * fractal_noise_2d(x / 40.0, 0.0, 64, 3, seed=12)
    if t < hills:
        return sky
    haze = smoothstep(hills, hills + 0.08, t)
    if t < 0.66:
        hill = (58, 70, 66)
        return mix(mix(hill, sky, 0.35), hill, haze)
    # The field: rows of furrows running towards the horizon, glistening a little.
    depth = (t - 0.66) / 0.34
    furrow = 0.5 + 0.5 * math.sin(math.sqrt(depth) * 70.0)
    n = fractal_noise_2d(x / 6.0, y / 3.0, 64, 3, seed=13)
    field = mix((52, 76, 44), (70, 98, 58), furrow * 0.6 + 0.2 * n)
    return tuple(v * (0.85 + 0.25 * depth) for v in field)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'rain_field.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
