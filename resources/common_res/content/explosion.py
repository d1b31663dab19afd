#!/usr/bin/env python3
"""The explosion's pictures of common_res.dll, drawn into the folder given as the only argument:
  explosion_gradient.png   "DDS" 201: 256 x 16 RGBA ramp that the explosion effect looks up by
                           heat (u 0 cold, u 1 hottest): transparent, smoke, dark red, red,
                           orange, yellow, white; opaque from a quarter of the way on
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, mix, smoothstep  # noqa: E402

WIDTH, HEIGHT = 256, 16
# (heat, r, g, b, a) stops from cold to hot.
STOPS = [
    (0.00, 40, 30, 30, 0),
    (0.12, 60, 45, 40, 140),
    (0.25, 110, 10, 0, 255),
    (0.45, 210, 30, 0, 255),
    (0.65, 255, 120, 0, 255),
    (0.85, 255, 220, 60, 255),
    (1.00, 255, 255, 235, 255),
]


def ramp(t):
    for (t0, *c0), (t1, *c1) in zip(STOPS, STOPS[1:]):
        if t <= t1:
            return mix(c0, c1, smoothstep(t0, t1, t))
    return tuple(STOPS[-1][1:])


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_png(os.path.join(out, 'explosion_gradient.png'), WIDTH, HEIGHT, 4,
              lambda x, y: ramp(x / (WIDTH - 1)))


if __name__ == '__main__':
    main()
