#!/usr/bin/env python3
"""The pattern brush's pictures of common_res.dll, drawn into the folder given as the only argument;
both tile in both directions and are image-set containers, as a ".dll" pattern link needs:
  scales_set.bin   "DDS" 242: 64 x 32 RGBA overlapping scales, teal to gold, with a shine that runs
                   across them in four frames of 0.25 s (of phase)
  lace_set.bin     "DDS" 243: 64 x 64 RGBA white lace (rings and a diamond lattice), clear between
                   the threads, one frame
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
sys.path.insert(0, os.path.join(here, '..'))
from png_writer import png_bytes, clamp_byte, mix  # noqa: E402
from library_forms import image_set_container  # noqa: E402

SW, SH = 64, 32          # the scales' tile
SCALE_RADIUS = 18.0
SHINE_FRAMES = 4


def scale_at(x, y):
    """The distance to the centre of the scale that covers (x, y): scales sit on rows 16 apart,
    every other row shifted by half a scale, and a lower row overlaps the one above it."""
    best = None
    for j in range(-1, 4):
        cy = 16 * j
        shift = 16 if j % 2 else 0
        for i in range(-1, 3):
            cx = 32 * i + shift
            d = math.hypot(x - cx, y - cy)
            if d < SCALE_RADIUS and (best is None or cy > best[0]):
                best = (cy, d)
    return best[1] if best else SCALE_RADIUS


def scales_frame(frame):
    phase = 2 * math.pi * frame / SHINE_FRAMES

    def rows():
        for y in range(SH):
            row = bytearray()
            for x in range(SW):
                r = scale_at(x + 0.5, y + 0.5) / SCALE_RADIUS
                colour = mix((30, 150, 150), (235, 190, 70), r ** 1.5)
                colour = mix(colour, (20, 40, 50), max(0.0, (r - 0.85) / 0.15))  # the dark rim
                # A diagonal shine, periodic over the tile, one step further each frame.
                shine = max(0.0, math.sin(2 * math.pi * ((x + 0.5) / SW + (y + 0.5) / SH) - phase)) ** 6
                colour = mix(colour, (255, 255, 240), 0.8 * shine)
                row.extend((clamp_byte(colour[0]), clamp_byte(colour[1]), clamp_byte(colour[2]), 230))
            yield row
    return png_bytes(SW, SH, 4, list(rows()))


def lace_alpha(x, y):
    """Threads: a ring about the tile's middle, quarter rings at its corners, a diamond lattice."""
    u, v = (x + 0.5) / 64.0, (y + 0.5) / 64.0
    ring = abs(math.hypot(u - 0.5, v - 0.5) - 0.3)
    corner = abs(min(math.hypot(u - a, v - b) for a in (0.0, 1.0) for b in (0.0, 1.0)) - 0.12)
    diamond = min(abs((u + v) % 0.5 - 0.25), abs((u - v) % 0.5 - 0.25))
    thread = min(ring / 0.025, corner / 0.02, diamond / 0.012)
    return max(0.0, 1.0 - thread) ** 0.7


def lace_frame():
    def rows():
        for y in range(64):
            row = bytearray()
            for x in range(64):
                row.extend((250, 248, 240, clamp_byte(255 * lace_alpha(x, y))))
            yield row
    return png_bytes(64, 64, 4, list(rows()))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, 'scales_set.bin'), 'wb') as f:
        f.write(image_set_container([scales_frame(k) for k in range(SHINE_FRAMES)], [0.25] * SHINE_FRAMES))
    with open(os.path.join(out, 'lace_set.bin'), 'wb') as f:
        f.write(image_set_container([lace_frame()], [0.5]))


if __name__ == '__main__':
    main()
