#!/usr/bin/env python3
"""The sprite pictures of the particle kinds, drawn into the folder given as the only argument.
Every picture is white or lightly tinted on a transparent ground, so that a kind's colour tints it:
  ray.png          "DDS" 210: a tall soft beam (god rays)
  dot.png          "DDS" 211: a soft star-shaped dot (sparkles)
  fog.png          "DDS" 212: a large soft cloud patch (fog)
  flash.png        "DDS" 213: a branching lightning stroke (lightning flashes)
  blade.png        "DDS" 214: a blade of grass, its root at the bottom centre (grass)
  lantern.png      "DDS" 215: a hanging lantern (still pictures)
  flower.png       "DDS" 216: a flower, its foot at the bottom centre (flowers)
  discharge.png    "DDS" 217: a sprite sheet of four arcs side by side (discharges)
  lantern_set.bin  "DDS" 241: the lantern in three flickering frames, a multi-frame container
"""
import math
import os
import random
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
sys.path.insert(0, os.path.join(here, '..'))
from png_writer import png_bytes, clamp_byte, fractal_noise_2d, smoothstep  # noqa: E402
from library_forms import image_set_container  # noqa: E402


def picture(width, height, pixel):
    """pixel(x, y) -> (r, g, b, a) floats 0..255 at the pixel's centre."""
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row.extend(clamp_byte(v) for v in pixel(x + 0.5, y + 0.5))
        rows.append(row)
    return png_bytes(width, height, 4, rows)


def ray():
    def pixel(x, y):
        across = 1.0 - abs(x - 16.0) / 16.0
        along = math.sin(math.pi * y / 128.0)
        return (255, 250, 235, 255 * across ** 2 * along ** 0.7)
    return picture(32, 128, pixel)


def dot():
    def pixel(x, y):
        dx, dy = x - 16.0, y - 16.0
        d = math.hypot(dx, dy) / 16.0
        star = max(0.0, 1.0 - abs(dx) * abs(dy) / 6.0) * max(0.0, 1.0 - d)
        return (255, 255, 255, 255 * min(1.0, max(0.0, 1.0 - d) ** 2 + star))
    return picture(32, 32, pixel)


def fog():
    def pixel(x, y):
        d = math.hypot(x - 64.0, y - 64.0) / 64.0
        n = fractal_noise_2d(x, y, 32, 3, seed=7)
        return (255, 255, 255, 255 * max(0.0, 1.0 - d) ** 1.5 * (0.5 + 0.5 * n))
    return picture(128, 128, pixel)


def flash():
    # A stroke from the top that forks twice, drawn as a list of glowing segments.
    rng = random.Random(13)
    segments = []

    def branch(x, y, length, steps, width):
        for _ in range(steps):
            nx, ny = x + rng.uniform(-6, 6), y + length
            segments.append((x, y, nx, ny, width))
            x, y = nx, ny
        return x, y

    x, y = branch(32.0, 0.0, 10.0, 5, 2.0)
    branch(x, y, 9.0, 4, 1.2)
    branch(x, y, 9.0, 7, 2.0)

    def distance(px, py, s):
        x0, y0, x1, y1, _ = s
        vx, vy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((px - x0) * vx + (py - y0) * vy) / (vx * vx + vy * vy)))
        return math.hypot(px - x0 - t * vx, py - y0 - t * vy)

    def pixel(x, y):
        glow = 0.0
        for s in segments:
            d = distance(x, y, s)
            glow = max(glow, max(0.0, 1.0 - d / (s[4] * 4.0)) ** 2)
        return (235, 240, 255, 255 * glow)
    return picture(64, 128, pixel)


def blade():
    def pixel(x, y):
        t = y / 64.0  # 0 at the tip, 1 at the root
        half = 1.0 + 3.0 * t
        a = smoothstep(half + 0.8, half - 0.8, abs(x - 8.0))
        shade = 0.75 + 0.25 * (1.0 - t)
        return (120 * shade, 230 * shade, 90 * shade, 255 * a)
    return picture(16, 64, pixel)


def lantern(flicker):
    def pixel(x, y):
        # A cord, a dark frame and a glowing body.
        if y < 14:
            return (60, 50, 40, 255 if abs(x - 32.0) < 1.2 else 0)
        body = abs(x - 32.0) < 16 and 16 <= y < 56
        frame = body and (abs(x - 32.0) > 13 or y < 19 or y >= 53)
        if frame:
            return (70, 50, 35, 255)
        if body:
            d = math.hypot(x - 32.0, y - 36.0) / 20.0
            g = flicker * max(0.0, 1.0 - d)
            return (255, 150 + 100 * g, 40 + 150 * g, 255)
        return (0, 0, 0, 0)
    return picture(64, 64, pixel)


def flower():
    def pixel(x, y):
        # Stem from the foot (bottom centre) to the bloom; five petals round a yellow heart.
        if y > 28 and abs(x - 16.0 - (64.0 - y) * 0.03) < 1.3:
            return (60, 150, 50, 255)
        dx, dy = x - 16.0, y - 18.0
        r, a = math.hypot(dx, dy), math.atan2(dy, dx)
        if r < 4.0:
            return (255, 210, 40, 255)
        petal = 11.0 * (0.65 + 0.35 * abs(math.cos(2.5 * a)))
        if r < petal:
            return (230, 90 + 60 * r / petal, 170, 255)
        return (0, 0, 0, 0)
    return picture(32, 64, pixel)


def discharge():
    # Four frames of 32 x 64 side by side, each a jagged arc of its own.
    paths = []
    for k in range(4):
        rng = random.Random(100 + k)
        paths.append([16.0 + rng.uniform(-9, 9) for _ in range(9)])

    def pixel(x, y):
        k = int(x // 32)
        lx = x - 32 * k
        path = paths[k]
        t = y / 8.0
        i = min(7, int(t))
        cx = path[i] + (path[i + 1] - path[i]) * (t - i)
        glow = max(0.0, 1.0 - abs(lx - cx) / 5.0) ** 2
        return (200 + 55 * glow, 220 + 35 * glow, 255, 255 * glow)
    return picture(128, 64, pixel)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        'ray.png': ray(), 'dot.png': dot(), 'fog.png': fog(), 'flash.png': flash(), 'blade.png': blade(),
        'lantern.png': lantern(1.0), 'flower.png': flower(), 'discharge.png': discharge(),
        'lantern_set.bin': image_set_container([lantern(f) for f in (1.0, 0.6, 0.85)], [0.2, 0.15, 0.25]),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
