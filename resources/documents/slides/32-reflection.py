#!/usr/bin/env python3
"""The reflection slide's files, drawn into the folder given as the only argument (same bytes on every run):
  reflection_lake.png        800 x 450: a lake at evening, clouds, a boathouse with a lit window, a
                             lantern on the far shore; the lake itself plain, its mirror image comes
                             from the background copy
  reflection_clouds_mask.png 512 x 288 mask (alpha): the band of clouds, which sways sideways
  reflection_lantern_mask.png 512 x 288 mask (alpha): a soft disc about the lantern, which pulses
  reflection_lake_mask.png   512 x 288 mask (alpha): the lake, for the mirrored copy
  reflection_window_mask.png 512 x 288 mask (alpha): the boathouse window, for its lace curtain
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
SHORE = 270.0                 # the lake's far shore: the mirror line (0.6 of the height)
LANTERN = (620.0, 236.0)      # the lantern's light (the expand's centre in 32-reflection.json)
HOUSE = (110.0, 200.0, 230.0, 270.0)     # left, top, right, bottom of the boathouse
WINDOW = (148.0, 218.0, 192.0, 248.0)


def clouds(x, y):
    n = fractal_noise_2d(x / 90.0, y / 45.0, 64, 4, seed=32)
    return smoothstep(0.05, 0.45, n) * smoothstep(40, 80, y) * smoothstep(170, 130, y)


def lantern_glow(x, y):
    d = math.hypot(x - LANTERN[0], y - LANTERN[1])
    return math.exp(-(d / 9.0) ** 2) + 0.4 * math.exp(-(d / 30.0) ** 2)


def inside(x, y, box):
    return box[0] <= x < box[2] and box[1] <= y < box[3]


def picture(px, py):
    x, y = px + 0.5, py + 0.5
    if y >= SHORE:
        # The lake: deep blue, lighter towards the shore; the copy lays the mirror image over it.
        return mix((24, 40, 70), (60, 84, 120), smoothstep(H, SHORE, y))
    colour = mix((38, 52, 110), (236, 150, 110), smoothstep(0, SHORE, y) ** 1.4)
    colour = mix(colour, (250, 226, 220), 0.8 * clouds(x, y))
    hill = 232 + 14 * math.sin(x / 83.0 + 0.5) + 6 * math.sin(x / 27.0)
    if y > hill:
        colour = mix((30, 52, 40), (46, 70, 50), 0.5 + 0.5 * fractal_noise_2d(x / 16.0, y / 16.0, 50, 2, seed=9))
    if inside(x, y, HOUSE):
        colour = (92, 60, 44) if (int(x) // 6) % 2 else (84, 54, 40)
        if inside(x, y, WINDOW):
            colour = mix((255, 200, 110), (200, 120, 60), (y - WINDOW[1]) / (WINDOW[3] - WINDOW[1]))
    roof = HOUSE[1] - (30 - abs(x - (HOUSE[0] + HOUSE[2]) / 2) * 0.5)
    if HOUSE[0] - 8 <= x < HOUSE[2] + 8 and roof <= y < HOUSE[1]:
        colour = (60, 40, 36)
    if abs(x - LANTERN[0]) < 2 and LANTERN[1] + 6 < y < SHORE:
        colour = (30, 30, 30)
    return mix(colour, (255, 220, 150), min(1.0, lantern_glow(x, y)))


# Each mask by its file: its alpha at a point given in picture pixels.
MASKS = {
    'reflection_clouds_mask.png': lambda x, y: smoothstep(20, 60, y) * smoothstep(200, 170, y),
    'reflection_lantern_mask.png': lambda x, y: smoothstep(40, 26, math.hypot(x - LANTERN[0], y - LANTERN[1])),
    'reflection_lake_mask.png': lambda x, y: 0.6 * smoothstep(SHORE, SHORE + 4, y),
    'reflection_window_mask.png': lambda x, y: 1.0 if inside(x, y, WINDOW) else 0.0,
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'reflection_lake.png'), W, H, 3, picture)
    for name, alpha in MASKS.items():
        write_png(os.path.join(out, name), MW, MH, 4,
                  lambda mx, my, alpha=alpha: (255, 255, 255, 255 * alpha((mx + 0.5) * W / MW, (my + 0.5) * H / MH)))


if __name__ == '__main__':
    main()
