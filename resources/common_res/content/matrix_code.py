#!/usr/bin/env python3
"""The falling code's glyph strip of common_res.dll, drawn into the folder given as the only
argument:
  glyph_strip.png   "DDS" 40: 32 x 960 RGBA, 32 bands of 30 pixels stacked downwards, each a white
                    glyph of our own (a few strokes on a 4 x 5 lattice, like a blocky script) with
                    a 3-pixel transparent margin; alpha is the shape. The falling-code layer
                    reads N = height / width + 2 bands and tints the glyphs with its colours.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import png_bytes, clamp_byte  # noqa: E402

WIDTH, BAND, BANDS, MARGIN = 32, 30, 32, 3
STROKE = 1.6  # half the stroke width in pixels


class Lcg:
    """A small fixed generator, so the strip is the same bytes on every run."""

    def __init__(self, seed):
        self.state = seed

    def next(self, n):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 16) % n


def glyph_strokes(index):
    """Three to five strokes between points of a 4 x 5 lattice: a vertical spine or a frame piece
    first, so every glyph reads as a character rather than scattered lines."""
    rng = Lcg(9001 + index * 7919)
    strokes = []
    spine = rng.next(4)
    if spine == 0:
        strokes.append(((1, 0), (1, 4)))
    elif spine == 1:
        strokes.append(((0, 0), (3, 0)))
        strokes.append(((3, 0), (3, 4)))
    elif spine == 2:
        strokes.append(((0, 2), (3, 2)))
        strokes.append(((2, 0), (1, 4)))
    else:
        strokes.append(((0, 1), (3, 1)))
        strokes.append(((2, 1), (2, 4)))
    for _ in range(1 + rng.next(3)):
        x0, y0 = rng.next(4), rng.next(5)
        x1, y1 = rng.next(4), rng.next(5)
        if (x0, y0) == (x1, y1):
            x1 = (x1 + 2) % 4
        strokes.append(((x0, y0), (x1, y1)))
    if index % 3 == 1:  # a mirrored third of the set
        strokes = [((3 - a[0], a[1]), (3 - b[0], b[1])) for a, b in strokes]
    return strokes


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def glyph_alpha(strokes, x, y):
    # The lattice spans the band inside its margin.
    sx = (WIDTH - 2 * MARGIN - 2 * STROKE) / 3.0
    sy = (BAND - 2 * MARGIN - 2 * STROKE) / 4.0
    ox, oy = MARGIN + STROKE, MARGIN + STROKE
    d = min(segment_distance(x + 0.5, y + 0.5, ox + a[0] * sx, oy + a[1] * sy, ox + b[0] * sx, oy + b[1] * sy)
            for a, b in strokes)
    return max(0.0, min(1.0, STROKE + 0.5 - d))


def strip_rows():
    for band in range(BANDS):
        strokes = glyph_strokes(band)
        for y in range(BAND):
            row = bytearray()
            for x in range(WIDTH):
                inside = MARGIN <= x < WIDTH - MARGIN and MARGIN <= y < BAND - MARGIN
                a = glyph_alpha(strokes, x, y) if inside else 0.0
                row.extend((255, 255, 255, clamp_byte(a * 255)))
            yield row


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, 'glyph_strip.png'), 'wb') as f:
        f.write(png_bytes(WIDTH, BAND * BANDS, 4, list(strip_rows())))


if __name__ == '__main__':
    main()
