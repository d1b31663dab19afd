#!/usr/bin/env python3
"""The shared noise of common_res.dll, drawn into the folder given as the only argument:
  turbulence.png   "DDS" 8: 256 x 256 grey turbulence that tiles in both directions, stretched
                   to the full range 0 to 1 (fire, flames and explosions scroll it without bound)
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import png_bytes, clamp_byte, fractal_noise_2d  # noqa: E402

SIZE = 256
PERIOD = 8      # lattice cells across the picture at the first octave


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    scale = PERIOD / SIZE
    values = [[fractal_noise_2d(x * scale, y * scale, PERIOD, 5, seed=8) for x in range(SIZE)]
              for y in range(SIZE)]
    low = min(min(r) for r in values)
    high = max(max(r) for r in values)
    span = (high - low) or 1.0
    rows = [bytes(clamp_byte((v - low) / span * 255) for v in r) for r in values]
    with open(os.path.join(out, 'turbulence.png'), 'wb') as f:
        f.write(png_bytes(SIZE, SIZE, 1, rows))


if __name__ == '__main__':
    main()
