#!/usr/bin/env python3
"""The sparkles of common_res.dll, drawn into the folder given as the only argument:
  sparkle_set.bin   "DDS" 240: a three-frame pulsing sparkle in the image-set container form
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
sys.path.insert(0, os.path.join(here, '..'))
from png_writer import png_bytes, clamp_byte  # noqa: E402
from library_forms import image_set_container  # noqa: E402


def sparkle_frame(radius):
    size = 64

    def rows():
        for y in range(size):
            row = bytearray()
            for x in range(size):
                d = math.hypot(x - 31.5, y - 31.5)
                a = max(0.0, 1.0 - d / radius) ** 1.5
                row.extend((255, 250, clamp_byte(200 + 55 * a), clamp_byte(a * 255)))
            yield row
    return png_bytes(size, size, 4, list(rows()))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    frames = [sparkle_frame(r) for r in (12.0, 20.0, 28.0)]
    with open(os.path.join(out, 'sparkle_set.bin'), 'wb') as f:
        f.write(image_set_container(frames, [0.15, 0.15, 0.3]))


if __name__ == '__main__':
    main()
