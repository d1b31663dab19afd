#!/usr/bin/env python3
"""The storm slide's picture, drawn into the folder given as the only argument:
  storm_hills.png   800 x 600: a night storm over dark hills - heavy clouds lit from below, a
                    faint horizon glow and two ridges of hills - where an explosion flares and a
                    line of text fades in.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, mix, smoothstep  # noqa: E402

W, H = 800, 600


def ridge(x, base, height, period, seed):
    return base - height * (0.5 + 0.5 * fractal_noise_2d(x / period, 0.5, 16, 3, seed=seed))


def pixel(x, y):
    # Sky: deep blue-grey at the top, a warm glow towards the horizon, clouds over it.
    t = y / H
    sky = mix((18, 20, 34), (70, 52, 60), smoothstep(0.2, 0.75, t))
    cloud = 0.5 + 0.5 * fractal_noise_2d(x / 120.0, y / 60.0, 32, 4, seed=21)
    cloud = smoothstep(0.45, 0.8, cloud) * (1.0 - smoothstep(0.55, 0.8, t))
    colour = mix(sky, (95, 95, 110), cloud * 0.8)
    far = ridge(x, 470, 90, 160.0, 22)
    near = ridge(x, 560, 70, 90.0, 23)
    if y > far:
        colour = mix((34, 32, 44), (22, 22, 30), smoothstep(far, far + 80, y))
    if y > near:
        shade = 0.8 + 0.2 * fractal_noise_2d(x / 25.0, y / 25.0, 64, 2, seed=24)
        colour = tuple(c * shade for c in (14, 16, 18))
    # A glow low on the horizon behind the far ridge.
    glow = math.exp(-((x - 520) / 160.0) ** 2 - ((y - 440) / 70.0) ** 2)
    if y <= far:
        colour = mix(colour, (150, 90, 60), glow * 0.5)
    return colour


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'storm_hills.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
