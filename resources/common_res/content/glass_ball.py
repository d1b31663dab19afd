#!/usr/bin/env python3
"""The glass ball's pictures of common_res.dll, drawn into the folder given as the only argument:
  glass_highlight.png   "DDS" 58: a soft white highlight arc in the upper left of the disc
  glass_rim_shade.png   "DDS" 59: a faint shading along the rim and a small reflection at the lower right
  glass_stand.png       "DDS" 60: a brass cradle on a foot, transparent around it
The overlays are 512 x 512 RGBA over the ball's square; everything stays inside the inscribed circle.
The stand is 512 x 256 RGBA over a strip whose first row lies at the bottom of the screen, so it is
stored upside down.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import png_bytes, clamp_byte  # noqa: E402

SIZE = 512
RADIUS = 254.0  # the disc the rim mask leaves, in texels of the square


def smooth(edge0, edge1, x):
    t = max(0.0, min(1.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3.0 - 2.0 * t)


def overlay(alpha_at):
    rows = []
    for y in range(SIZE):
        row = bytearray()
        for x in range(SIZE):
            dx, dy = x + 0.5 - SIZE / 2, y + 0.5 - SIZE / 2
            d = math.hypot(dx, dy)
            a = alpha_at(dx, dy, d) * (1.0 - smooth(RADIUS - 3, RADIUS, d))
            row.extend((255, 255, 255, clamp_byte(a * 255)))
        rows.append(row)
    return png_bytes(SIZE, SIZE, 4, rows)


def highlight(dx, dy, d):
    # A crescent along the upper-left rim, brightest at 45 degrees.
    along = max(0.0, (-dx - dy) / (d + 1e-6))
    band = math.exp(-((d - 205.0) / 28.0) ** 2)
    spot = math.exp(-(((dx + 95) / 45.0) ** 2 + ((dy + 110) / 30.0) ** 2))
    return min(1.0, 0.55 * band * along ** 3 + 0.6 * spot)


def rim_shade(dx, dy, d):
    rim = smooth(170.0, RADIUS, d) * 0.35
    spot = math.exp(-(((dx - 120) / 22.0) ** 2 + ((dy - 135) / 14.0) ** 2)) * 0.5
    return min(1.0, rim + spot)


def stand():
    width, height = 512, 256
    x_left, x_right, y_top, y_bottom = -230.4, 232.9, -185.61412, -372.19293
    rows = []
    for r in range(height):
        row = bytearray()
        # Row r of the picture is drawn at the strip's v = r / 255, from the bottom of the screen up.
        wy = y_bottom + (r + 0.5) / height * (y_top - y_bottom)
        for c in range(width):
            wx = x_left + (c + 0.5) / width * (x_right - x_left)
            d = math.hypot(wx, wy)
            cradle = wy < -150 and RADIUS - 2 <= d <= RADIUS + 20
            neck = -300 <= wy <= -262 and abs(wx) <= 40 + (-262 - wy) * 1.2
            foot = -372 <= wy < -300 and abs(wx) <= 200 - (wy + 372) * 0.8
            if cradle or neck or foot:
                shade = 0.75 + 0.25 * math.cos(wx / 60.0)
                row.extend((clamp_byte(200 * shade), clamp_byte(150 * shade), clamp_byte(60 * shade), 255))
            else:
                row.extend((0, 0, 0, 0))
        rows.append(row)
    return png_bytes(width, height, 4, rows)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in (('glass_highlight.png', overlay(highlight)), ('glass_rim_shade.png', overlay(rim_shade)),
                       ('glass_stand.png', stand())):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
