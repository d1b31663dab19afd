#!/usr/bin/env python3
"""The discharge bolts of common_res.dll, drawn into the folder given as the only argument:
  discharge_bolt.png       "DDS" 95:  512 x 128 RGBA, two thin jagged bolts stacked (v 0 to 0.5 and
                           v 0.5 to 1), white core on transparent
  discharge_branches.png   "DDS" 98:  the same layout, a thicker bolt with forks that die away
  discharge_glow.png       "DDS" 203: the bolts of 95 blurred wide and soft, for the glow target

A discharge draws one strip per segment along u. The first segment shows u 0 to 0.805, the last
0.195 to 1 and the ones between 0.195 to 0.805, so each bolt crosses the middle of its strip at
u 0.195 and u 0.805 (where the segments join) and tapers to nothing towards u 0 and u 1 (the two
tips of the discharge).
"""
import math
import os
import random
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import png_bytes, clamp_byte  # noqa: E402

WIDTH, HEIGHT = 512, 128
STRIP = HEIGHT // 2
JOIN_LEFT, JOIN_RIGHT = 0.195 * WIDTH, 0.805 * WIDTH


def bolt_points(rng, wander):
    """A jagged line across the strip: points every 12 to 20 pixels, pinned to the middle at both
    joins, free in the caps; offsets from the strip's middle in pixels."""
    xs = [0.0]
    while xs[-1] < WIDTH:
        xs.append(xs[-1] + rng.uniform(12.0, 20.0))
    xs = [x for x in xs if abs(x - JOIN_LEFT) > 6 and abs(x - JOIN_RIGHT) > 6] + [JOIN_LEFT, JOIN_RIGHT]
    xs.sort()
    points = []
    for x in xs:
        if x in (JOIN_LEFT, JOIN_RIGHT):
            points.append((x, 0.0))
        else:
            points.append((x, rng.uniform(-wander, wander)))
    return points


def taper(x):
    """1 between the caps, falling to 0 at the picture's two ends."""
    edge = min(x, WIDTH - 1 - x)
    cap = JOIN_LEFT
    if edge >= cap:
        return 1.0
    return max(0.0, edge - 4.0) / (cap - 4.0)


def segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    span = dx * dx + dy * dy
    t = 0.0 if span == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / span))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def distance_rows(lines, reach):
    """For every pixel of a strip, the distance to the nearest line and that line's strength.
    lines: lists of (points, strength); only pieces within `reach` pixels in x are measured."""
    rows = []
    pieces = []
    for points, strength in lines:
        for a, b in zip(points, points[1:]):
            pieces.append((min(a[0], b[0]) - reach, max(a[0], b[0]) + reach, a, b, strength))
    for y in range(STRIP):
        py = y + 0.5 - STRIP / 2
        row = []
        for x in range(WIDTH):
            px = x + 0.5
            best = []
            for lo, hi, a, b, strength in pieces:
                if lo <= px <= hi:
                    best.append((segment_distance(px, py, a, b), strength))
            row.append(best)
        rows.append(row)
    return rows


def shade(rows, width, soft):
    """Alpha per pixel: a Gaussian core of `width` pixels plus a softer halo, tapered at the tips."""
    out = []
    for row in rows:
        values = []
        for x, near in enumerate(row):
            a = 0.0
            for d, strength in near:
                core = math.exp(-(d / width) ** 2)
                halo = 0.35 * math.exp(-(d / (width * soft)) ** 2)
                a = max(a, strength * min(1.0, core + halo))
            values.append(a * taper(x + 0.5))
        out.append(values)
    return out


def branches(rng, main, count):
    """Forks that leave the main line between the joins and die away."""
    forks = []
    inner = [p for p in main if JOIN_LEFT < p[0] < JOIN_RIGHT]
    for _ in range(count):
        x, y = inner[rng.randrange(len(inner))]
        side = rng.choice((-1.0, 1.0))
        points = [(x, y)]
        for _ in range(rng.randint(2, 4)):
            x += rng.uniform(8.0, 16.0)
            y += side * rng.uniform(3.0, 8.0)
            y = max(-STRIP / 2 + 3, min(STRIP / 2 - 3, y))
            points.append((x, y))
        forks.append((points, 0.6))
    return forks


def edge_fade(y):
    """1 in the middle of a strip, 0 on its first and last rows: a segment's quad shows no edge."""
    d = min(y + 0.5, STRIP - y - 0.5)
    return min(1.0, d / 10.0)


def picture(strips):
    """strips: two lists of per-pixel alphas (one per half); white, alpha as given."""
    rows = []
    for strip in strips:
        for y, values in enumerate(strip):
            row = bytearray()
            fade = edge_fade(y)
            for a in values:
                row.extend((255, 255, 255, clamp_byte(a * fade * 255)))
            rows.append(row)
    return png_bytes(WIDTH, HEIGHT, 4, rows)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rng = random.Random(95)
    thin = [bolt_points(rng, 9.0) for _ in range(2)]
    bolt = [shade(distance_rows([(p, 1.0)], 8), 1.6, 3.0) for p in thin]
    glow = [shade(distance_rows([(p, 1.0)], 40), 9.0, 2.2) for p in thin]
    rng = random.Random(98)
    thick = [bolt_points(rng, 11.0) for _ in range(2)]
    forked = []
    for p in thick:
        lines = [(p, 1.0)] + branches(rng, p, 5)
        forked.append(shade(distance_rows(lines, 10), 2.6, 2.5))
    for name, strips in (('discharge_bolt.png', bolt), ('discharge_branches.png', forked),
                         ('discharge_glow.png', glow)):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(picture(strips))


if __name__ == '__main__':
    main()
