#!/usr/bin/env python3
"""The pictures of the brush viewer document, drawn into the folder given as the only argument:
  viewer_stripes.png    64 x 48: horizontal stripes 6 pixels high, two colours
  viewer_half_mask.png  16 x 16: alpha 1 in the left half, 0 in the right (white)
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'resources', 'pictures'))
from png_writer import write_png  # noqa: E402


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'viewer_stripes.png'), 64, 48, 3,
              lambda x, y: (0xD0, 0xA0, 0x40) if (y // 6) % 2 else (0x30, 0x60, 0xC0))
    write_png(os.path.join(out, 'viewer_half_mask.png'), 16, 16, 4,
              lambda x, y: (255, 255, 255, 255 if x < 8 else 0))


if __name__ == '__main__':
    main()
