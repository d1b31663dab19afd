#!/usr/bin/env python3
"""Draws the saver's own "DDS" pictures into the given folder:
  wave_heights.png  "DDS" 2: 256 x 256 grey-scale wave heights that tile (the lake's bump source)
  loading.png       "DDS" 5: 512 x 512 loading picture: the emblem, the name and a ring of dots
Both are powers of two: they are loaded without rescaling.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png_writer import fractal_noise_2d, mix, smoothstep, write_png  # noqa: E402

# A 5 x 7 pixel font for the letters of the name.
GLYPHS = {
    'V': ['10001', '10001', '10001', '10001', '01010', '01010', '00100'],
    'o': ['00000', '00000', '01110', '10001', '10001', '10001', '01110'],
    'r': ['00000', '00000', '10110', '11001', '10000', '10000', '10000'],
    'n': ['00000', '00000', '10110', '11001', '10001', '10001', '10001'],
    'i': ['00100', '00000', '01100', '00100', '00100', '00100', '01110'],
    'q': ['00000', '00000', '01111', '10001', '01111', '00001', '00001'],
    'u': ['00000', '00000', '10001', '10001', '10001', '10011', '01101'],
    'e': ['00000', '00000', '01110', '10001', '11111', '10000', '01110'],
    'l': ['01100', '00100', '00100', '00100', '00100', '00100', '01110'],
}


def wave_height(x, y):
    size = 256.0
    u, v = x / size * 2 * math.pi, y / size * 2 * math.pi
    # Whole numbers of ridges across the tile keep it seamless.
    ridges = (math.sin(3 * u + 1 * v) * 0.45 + math.sin(-2 * u + 5 * v + 1.3) * 0.3 +
              math.sin(7 * u + 4 * v + 0.4) * 0.15)
    noise = fractal_noise_2d(x / 32.0, y / 32.0, 8, 3, seed=11)
    h = 0.5 + 0.4 * (ridges * 0.8 + noise * 0.35)
    return (h * 255,)


def text_mask(text, scale, origin):
    cells = set()
    ox, oy = origin
    for k, ch in enumerate(text):
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    cells.add((col + k * 6, row))

    def inside(x, y):
        cx, cy = (x - ox) // scale, (y - oy) // scale
        return (x >= ox and y >= oy and (cx, cy) in cells)
    return inside


def loading_picture():
    size = 512
    centre = size / 2
    name = 'Vorniquel'
    scale = 8
    text_width = (len(name) * 6 - 1) * scale
    in_text = text_mask(name, scale, ((size - text_width) // 2, 392))
    sky_top, sky_low = (16, 30, 82), (236, 150, 90)
    hill_far, hill_near = (48, 92, 60), (30, 64, 38)

    def pixel(x, y):
        dx, dy = x - centre, y - 200
        r = math.hypot(dx, dy)
        colour, alpha = (0, 0, 0), 0.0
        if r < 150:  # the emblem: a landscape at dawn inside a circle
            t = (y - 50) / 300.0
            colour = mix(sky_top, sky_low, smoothstep(0.0, 0.75, t))
            if math.hypot(x - 300, y - 205) < 26:
                colour = (250, 226, 160)
            if y > 230 + 18 * math.sin(x / 40.0):
                colour = hill_far
            if y > 265 + 14 * math.sin(x / 23.0 + 2.0):
                colour = hill_near
            alpha = 1.0 - smoothstep(147, 150, r)
        elif r < 156:
            colour, alpha = (235, 228, 205), 1.0
        # "loading": twelve dots around the emblem, brightening clockwise
        for k in range(12):
            a = k / 12.0 * 2 * math.pi
            px, py = centre + 178 * math.sin(a), 200 - 178 * math.cos(a)
            if math.hypot(x - px, y - py) < 9:
                colour, alpha = mix((70, 80, 110), (240, 240, 255), k / 11.0), 1.0
        if in_text(x, y):
            colour, alpha = (240, 236, 220), 1.0
        return colour + (alpha * 255,)
    return size, pixel


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'wave_heights.png'), 256, 256, 1, wave_height)
    size, pixel = loading_picture()
    write_png(os.path.join(out, 'loading.png'), size, size, 4, pixel)


if __name__ == '__main__':
    main()
