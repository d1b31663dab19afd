#!/usr/bin/env python3
"""The backdrops of common_res.dll, drawn into the folder given as the only argument:
  meadow.png        "DDS" 5: the default layer picture (1280 x 720), a meadow with hills under a dawn sky
  border.png        "DDS" 6: the border image, a dark charcoal texture with faint velvet noise
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'pictures'))
from png_writer import fractal_noise_2d, mix, smoothstep, write_png  # noqa: E402


def meadow(x, y, width=1280, height=720):
    horizon = 0.56 * height
    sky_top, sky_mid, sky_low = (28, 44, 104), (196, 120, 128), (252, 196, 120)
    far = horizon - 40 + 35 * math.sin(x / 210.0 + 0.6) + 18 * math.sin(x / 77.0)
    near = horizon + 30 + 40 * math.sin(x / 330.0 + 2.1) + 12 * math.sin(x / 51.0 + 1.0)
    if y < far:
        t = min(1.0, y / horizon)
        colour = mix(sky_top, sky_mid, smoothstep(0.0, 0.7, t)) if t < 0.7 else \
            mix(sky_mid, sky_low, smoothstep(0.7, 1.0, t))
        sun = math.hypot(x - 0.68 * width, y - 0.50 * height)
        glow = max(0.0, 1.0 - sun / 260.0) ** 2
        colour = mix(colour, (255, 236, 190), glow * 0.8)
        if sun < 44:
            colour = (255, 244, 214)
        cloud = fractal_noise_2d(x / 180.0, y / 60.0, 64, 3, seed=3)
        colour = mix(colour, (250, 210, 200), max(0.0, cloud - 0.25) * 0.9 * (1 - t))
        return colour
    grain = fractal_noise_2d(x / 9.0, y / 5.0, 256, 2, seed=7)
    if y >= near:
        depth = (y - near) / (height - near + 1)
        colour = mix((70, 122, 52), (34, 78, 30), depth)
        colour = mix(colour, (118, 160, 70), max(0.0, grain) * 0.35)
    else:
        colour = mix((92, 120, 96), (64, 102, 70), (y - far) / max(1.0, near - far))
        colour = mix(colour, (130, 150, 120), max(0.0, grain) * 0.15)
    return colour


def border(x, y):
    n = fractal_noise_2d(x / 16.0, y / 16.0, 16, 4, seed=21)
    v = 26 + 9 * n
    return (v, v * 0.96, v * 1.05)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'meadow.png'), 1280, 720, 3, meadow)
    write_png(os.path.join(out, 'border.png'), 256, 256, 3, border)


if __name__ == '__main__':
    main()
