#!/usr/bin/env python3
"""The underwater slide's picture, drawn into the folder given as the only argument:
  reef.png   640 x 480: a reef seen from inside the water. Teal light at the top darkening to deep
             blue, slanted light shafts from the surface, a sandy floor with ripples, rocks with
             coral fans, swaying kelp and a small shoal of fish. Rich in small detail everywhere,
             so that the layer's wobble shows over the whole picture.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, fractal_noise_2d, mix, smoothstep  # noqa: E402

W, H = 640, 480
TOP, DEEP = (60, 190, 200), (8, 40, 90)
SAND_LIGHT, SAND_DARK = (200, 185, 140), (120, 110, 85)
# Rocks: centre x, top y, half width.
ROCKS = [(90, 360, 80), (300, 395, 55), (520, 350, 95)]
# Coral fans on the rocks: x, y, radius, colour.
CORALS = [(70, 352, 34, (230, 90, 110)), (545, 340, 40, (240, 160, 60)), (310, 390, 24, (190, 80, 200))]
KELP = [40, 175, 215, 420, 600]
# Fish: x, y, length, facing right.
FISH = [(250, 150, 26, True), (290, 170, 22, True), (270, 195, 24, True), (320, 140, 20, True), (460, 230, 30, False)]


def floor_line(x):
    return 405 + 14 * math.sin(x / 70.0) + 6 * math.sin(x / 23.0 + 0.7)


def rock_top(x):
    top = H + 1.0
    for cx, cy, half in ROCKS:
        d = (x - cx) / half
        if abs(d) < 1.0:
            top = min(top, cy + (1.0 - math.sqrt(1.0 - d * d)) * 60 + 5 * math.sin(x / 9.0))
    return top


def water(x, y):
    t = y / float(H)
    c = list(mix(TOP, DEEP, t))
    # Light shafts slanting down from the surface, fading with depth.
    s = math.sin((x + 0.45 * y) / 38.0) * math.sin((x + 0.45 * y) / 91.0 + 1.1)
    shaft = max(0.0, s) ** 3 * (1.0 - t) * 70
    # Caustic flicker near the surface and fine suspended particles everywhere.
    grain = fractal_noise_2d(x / 6.0, y / 6.0, 128, 2, seed=11) * 10
    return [v + shaft + grain for v in c]


def pixel(x, y):
    c = water(x, y)
    # Fish: a slim ellipse with a tail and an eye, silver-blue.
    for fx, fy, length, right in FISH:
        dx, dy = (x - fx) / length, (y - fy) / (length * 0.38)
        if not right:
            dx = -dx
        body = dx * dx + dy * dy < 1.0
        tail = -1.55 < dx < -0.9 and abs(y - fy) < (-0.9 - dx) * length * 0.6
        if body or tail:
            stripe = 25 if int((x - fx) / 3) % 2 else 0
            c = [170 + stripe, 190 + stripe, 210]
            if body and 0.45 < dx < 0.65 and abs(dy) < 0.2:
                c = [20, 20, 30]
    # Kelp: a swaying dark-green strand from the floor.
    for k in KELP:
        sway = k + 14 * math.sin(y / 35.0 + k)
        if y > 120 + (k % 90) and abs(x - sway) < 4 + 2 * math.sin(y / 11.0):
            shade = 0.7 + 0.3 * math.sin(y / 5.0 + k)
            c = [30 * shade, 110 * shade, 60 * shade]
    floor = floor_line(x)
    if y > floor:
        # Sand with ripples and speckles.
        ripple = 0.5 + 0.5 * math.sin(x / 7.0 + math.sin(y / 13.0) * 2.0)
        n = fractal_noise_2d(x / 4.0, y / 4.0, 160, 3, seed=3)
        t = min(1.0, 0.35 * ripple + 0.65 * n)
        c = list(mix(SAND_DARK, SAND_LIGHT, t))
        c = [v * (1.0 - 0.3 * (y - floor) / (H - floor)) for v in c]
    top = rock_top(x)
    if y > top:
        n = fractal_noise_2d(x / 5.0, y / 5.0, 128, 3, seed=7)
        v = 45 + 70 * n - 0.12 * (y - top)
        c = [v * 0.9, v, v * 1.05]
    for cx, cy, r, colour in CORALS:
        dx, dy = x - cx, cy - y
        d = math.hypot(dx, dy)
        if dy > -4 and d < r:
            # A fan of branches: bright along a set of angles.
            a = math.atan2(dy, dx)
            branch = abs(math.sin(a * 9.0 + d / 6.0))
            if branch > 0.55:
                k = 0.6 + 0.4 * (1.0 - d / r)
                c = [v * k for v in colour]
    # The top of the picture is lighter near the surface.
    c = [v + 30 * (1.0 - smoothstep(0, 60, y)) for v in c]
    return tuple(c)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'reef.png'), W, H, 3, pixel)


if __name__ == '__main__':
    main()
