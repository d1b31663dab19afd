#!/usr/bin/env python3
"""The brush slide's files, drawn into the folder given as the only argument (same bytes on every run):
  brushes_lake.png         800 x 450: a lake at dusk under an aurora, a lantern on the far shore
  brushes_lake_water.png   512 x 288 mask (alpha): the lake, soft towards the shore
  brushes_aurora_mask.png  512 x 288 mask (alpha): the aurora's band in the sky
  brushes_lantern_mask.png 512 x 288 mask (alpha): a soft disc around the lantern
Masks are white; only their alpha is read. They span the picture at its aspect.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, mix, smoothstep  # noqa: E402

W, H = 800, 450
MW, MH = 512, 288
SHORE = 0.62            # the lake's far shore, as a fraction of the height
LANTERN = (0.70, 0.585)  # the lantern's glow, as fractions of width and height


def hills(u):
    """The hills' top edge (fraction of the height) at u."""
    return 0.50 - 0.05 * math.sin(u * 5.1 + 0.7) - 0.035 * math.sin(u * 11.3 + 2.0) - 0.015 * math.sin(u * 23.0)


def aurora(u, v):
    """The aurora's strength: a curtain that sways across the upper sky."""
    centre = 0.22 + 0.06 * math.sin(u * 7.0 + 0.4) + 0.03 * math.sin(u * 17.0)
    band = math.exp(-((v - centre) / 0.07) ** 2)
    rays = 0.6 + 0.4 * math.sin(u * 90.0 + math.sin(u * 13.0) * 3.0)
    return band * rays * smoothstep(0.0, 0.25, u) * smoothstep(1.0, 0.8, u)


def sky(u, v):
    top, horizon = (18, 26, 70), (214, 124, 82)
    colour = mix(top, horizon, smoothstep(0.0, SHORE, v) ** 1.6)
    a = aurora(u, v)
    colour = mix(colour, (90, 240, 160), min(1.0, a * 0.75))
    star = fractal_noise_2d(u * 160, v * 90, 160, 1, seed=7)
    if star > 0.86 and v < 0.35:
        colour = mix(colour, (255, 255, 240), (star - 0.86) * 6)
    return colour


def lantern_glow(u, v):
    d = math.hypot((u - LANTERN[0]) * W / H, v - LANTERN[1])
    return math.exp(-(d / 0.03) ** 2) + 0.35 * math.exp(-(d / 0.09) ** 2)


def picture(x, y):
    u, v = (x + 0.5) / W, (y + 0.5) / H
    if v < hills(u):
        colour = sky(u, v)
    elif v < SHORE:
        shade = 0.5 + 0.5 * fractal_noise_2d(u * 40, v * 40, 40, 3, seed=3)
        colour = mix((20, 30, 28), (44, 58, 44), shade)
    else:
        # The lake: the sky mirrored about the shore, darker, with faint streaks.
        mirrored = 2 * SHORE - v
        colour = sky(u, max(0.0, mirrored))
        streak = 0.85 + 0.15 * math.sin(v * 420.0 + math.sin(u * 9.0) * 2.0)
        colour = tuple(c * 0.62 * streak for c in colour)
        colour = mix(colour, (40, 60, 90), 0.25)
    g = lantern_glow(u, v)
    return mix(colour, (255, 214, 140), min(1.0, g))


def mask_writer(out, name, alpha):
    def pixel(x, y):
        return (255, 255, 255, 255 * alpha((x + 0.5) / MW, (y + 0.5) / MH))
    write_png(os.path.join(out, name), MW, MH, 4, pixel)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'brushes_lake.png'), W, H, 3, picture)
    mask_writer(out, 'brushes_lake_water.png', lambda u, v: smoothstep(SHORE + 0.005, SHORE + 0.06, v))
    mask_writer(out, 'brushes_aurora_mask.png', lambda u, v: min(1.0, 1.6 * aurora(u, v) ** 0.5) * smoothstep(0.48, 0.38, v))
    mask_writer(out, 'brushes_lantern_mask.png', lambda u, v: min(1.0, 1.3 * lantern_glow(u, v)))


if __name__ == '__main__':
    main()
