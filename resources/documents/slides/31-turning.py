#!/usr/bin/env python3
"""The turning slide's files, drawn into the folder given as the only argument (same bytes on every run):
  turning_pond.png        800 x 450: a fish pond under a rayed sun, a golden fish below the surface
  turning_sun_mask.png    512 x 288 mask (alpha): a soft disc around the sun and its rays
  turning_pond_mask.png   512 x 288 mask (alpha): the pond, soft at its banks
  turning_fish_mask.png   512 x 288 mask (alpha): the fish's body, for its shining scales
Masks are white; only their alpha is read. They span the picture at its aspect. The sky about the
sun is the same all round it, so that only the rays show the turn.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, mix, smoothstep  # noqa: E402

W, H = 800, 450
MW, MH = 512, 288
SUN = (560.0, 120.0)          # picture pixels (the rotation's centre in 31-turning.json)
SUN_MASK = 105.0              # the turning disc's radius
POND = (300.0, 372.0, 240.0, 62.0)   # centre and radii of the pond's ellipse
FISH = (335.0, 378.0, 46.0, 13.0)    # centre and radii of the fish's body


def ellipse(x, y, shape):
    cx, cy, rx, ry = shape
    return math.hypot((x - cx) / rx, (y - cy) / ry)


def sky(x, y):
    d = math.hypot(x - SUN[0], y - SUN[1])
    glow = math.exp(-(d / 140.0) ** 2)
    colour = mix((92, 150, 214), (255, 236, 170), glow)
    if d < 38:
        return mix((255, 250, 210), (255, 226, 120), (d / 38) ** 2)
    if d < 98:
        angle = math.atan2(y - SUN[1], x - SUN[0])
        ray = max(0.0, math.cos(6 * angle)) ** 10 * smoothstep(98, 50, d)
        return mix(colour, (255, 214, 96), ray)
    return colour


def picture(px, py):
    x, y = px + 0.5, py + 0.5
    horizon = 262 + 16 * math.sin(x / 97.0) + 7 * math.sin(x / 31.0 + 1.0)
    if y < horizon:
        colour = sky(x, y)
    else:
        shade = 0.5 + 0.5 * fractal_noise_2d(x / 20.0, y / 20.0, 40, 3, seed=31)
        colour = mix((58, 112, 48), (96, 150, 64), shade)
    e = ellipse(x, y, POND)
    if e < 1.0:
        # Water: the sky's blue, darker towards the middle, with bright streaks to ripple.
        streak = 0.5 + 0.5 * math.sin(y * 0.9 + math.sin(x / 23.0) * 2.0)
        water = mix((40, 84, 140), (120, 170, 220), 0.3 + 0.5 * streak * (1 - e))
        colour = mix(colour, water, smoothstep(1.0, 0.93, e))
        f = ellipse(x, y, FISH)
        tail = math.hypot((x - (FISH[0] - FISH[2] - 10)) / 14.0, (y - FISH[1]) / (4 + abs(x - FISH[0] + FISH[2]) * 0.5))
        if f < 1.0 or (x < FISH[0] - FISH[2] + 4 and tail < 1.0):
            colour = mix(colour, (236, 140, 40), 0.85)
    return colour


def mask_writer(out, name, alpha):
    def pixel(mx, my):
        return (255, 255, 255, 255 * alpha((mx + 0.5) * W / MW, (my + 0.5) * H / MH))
    write_png(os.path.join(out, name), MW, MH, 4, pixel)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'turning_pond.png'), W, H, 3, picture)
    mask_writer(out, 'turning_sun_mask.png',
                lambda x, y: smoothstep(SUN_MASK, SUN_MASK - 12, math.hypot(x - SUN[0], y - SUN[1])))
    mask_writer(out, 'turning_pond_mask.png', lambda x, y: smoothstep(1.0, 0.9, ellipse(x, y, POND)))
    mask_writer(out, 'turning_fish_mask.png', lambda x, y: smoothstep(1.05, 0.8, ellipse(x, y, FISH)))


if __name__ == '__main__':
    main()
