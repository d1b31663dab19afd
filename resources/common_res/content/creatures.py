#!/usr/bin/env python3
"""The sprite pictures of the flowing, swimming and flying kinds, drawn into the folder given as
the only argument. The creatures face +x (right): the kinds mirror them while they move left.
  ember.png        "DDS" 220: a glowing ember, a hot core in an orange halo (flows)
  bubble.png       "DDS" 221: an air bubble, a thin bright rim and a highlight (flows upwards)
  snowflake.png    "DDS" 222: a six-armed snow flake, soft white (flows, snow)
  rain_streak.png  "DDS" 223: an upright rain streak, bright in its lower part (rain)
  fish.png         "DDS" 224: a fish, its head to the right (fish)
  ghost.png        "DDS" 225: a ghost, its face to the right and its tail trailing left (ghosts)
  bird.png         "DDS" 226: a bird seen from the side with raised wings, beak to the right (birds)
"""
import math
import os
import sys

from particles import picture  # the RGBA picture helper of the particle sprites (same folder)
from png_writer import smoothstep  # noqa: E402  (particles put its folder on the path)


def coverage(distance, soft=1.0):
    """1 inside a shape whose signed distance (pixels, negative inside) is given, 0 outside."""
    return 1.0 - smoothstep(-soft, soft, distance)


def ellipse_distance(x, y, cx, cy, rx, ry):
    """An approximate signed distance to an ellipse, in pixels."""
    k = math.hypot((x - cx) / rx, (y - cy) / ry)
    return (k - 1.0) * min(rx, ry)


def ember():
    def pixel(x, y):
        d = math.hypot(x - 16.0, y - 16.0) / 16.0
        core = max(0.0, 1.0 - d * 2.5)
        halo = max(0.0, 1.0 - d) ** 2
        return (255, 140 + 115 * core, 40 + 200 * core ** 2, 255 * min(1.0, halo + core))
    return picture(32, 32, pixel)


def bubble():
    def pixel(x, y):
        d = math.hypot(x - 16.0, y - 16.0)
        rim = max(0.0, 1.0 - abs(d - 13.0) / 2.0)
        inside = 0.15 * coverage(d - 13.0)
        shine = max(0.0, 1.0 - math.hypot(x - 11.0, y - 10.0) / 4.0) ** 1.5
        return (220 + 35 * shine, 240 + 15 * shine, 255, 255 * min(1.0, rim * 0.8 + inside + shine))
    return picture(32, 32, pixel)


def snowflake():
    def pixel(x, y):
        dx, dy = x - 16.0, y - 16.0
        r = math.hypot(dx, dy)
        a = math.atan2(dy, dx)
        # Distance to the nearest of six arms, and to the two short twigs on each arm.
        arm = (a + math.pi / 6.0) % (math.pi / 3.0) - math.pi / 6.0
        across = abs(r * math.sin(arm))
        along = r * math.cos(arm)
        arms = max(0.0, 1.0 - across / 1.4) * (1.0 - smoothstep(12.0, 15.0, along))
        twig_at = along - 8.0
        twigs = max(0.0, 1.0 - abs(across - abs(twig_at) * 0.9) / 1.2) * (1.0 - smoothstep(2.0, 4.0, abs(twig_at)))
        centre = max(0.0, 1.0 - r / 4.0)
        return (255, 255, 255, 255 * min(1.0, arms + twigs * 0.8 + centre))
    return picture(32, 32, pixel)


def rain_streak():
    def pixel(x, y):
        across = max(0.0, 1.0 - abs(x - 4.0) / 3.0) ** 1.5
        along = smoothstep(0.0, 48.0, y) * (1.0 - smoothstep(56.0, 64.0, y))
        return (215, 230, 255, 255 * across * along)
    return picture(8, 64, pixel)


def fish():
    def pixel(x, y):
        body = ellipse_distance(x, y, 36.0, 16.0, 22.0, 10.0)
        # The tail fin: a notched triangle at the left, joined to the body.
        t = (14.0 - x) / 12.0
        spread = 2.0 + 9.0 * t
        notch = 4.0 * t
        tail = -1.0 if 0.0 <= t <= 1.0 and notch <= abs(y - 16.0) <= spread else 1.0
        fin = -1.0 if 30.0 <= x <= 42.0 and 3.0 <= y <= 8.0 and y >= 8.0 - (x - 30.0) * 0.45 else 1.0
        a = max(coverage(body), coverage(tail * 2.0), coverage(fin * 2.0))
        # Silver below, blue-green above, a darker tail; an eye near the head, at the right.
        belly = smoothstep(10.0, 22.0, y)
        r, g, b = 70 + 150 * belly, 140 + 90 * belly, 150 + 70 * belly
        if x < 15.0:
            r, g, b = r * 0.7, g * 0.75, b * 0.8
        eye = math.hypot(x - 50.0, y - 13.0)
        if eye < 2.6:
            r, g, b = (20, 20, 30) if eye < 1.6 else (240, 240, 240)
        stripe = max(0.0, 1.0 - abs(y - 15.0 - 0.1 * (x - 36.0)) / 1.2) * (0.0 < x - 18.0 < 24.0)
        r, g, b = r * (1 - 0.3 * stripe), g * (1 - 0.1 * stripe), b
        return (r, g, b, 255 * a)
    return picture(64, 32, pixel)


def ghost():
    def pixel(x, y):
        # A round head at the right, its sheet trailing left in waves.
        head = math.hypot(x - 42.0, y - 26.0) - 16.0
        trail_t = (42.0 - x) / 38.0
        wave = 3.0 * math.sin(trail_t * 9.0)
        half = 16.0 * (1.0 - trail_t) ** 0.8
        trail = abs(y - 28.0 - wave) - half if 0.0 <= trail_t <= 1.0 else 99.0
        body = min(head, trail)
        a = coverage(body, 2.0) * (0.55 + 0.45 * (1.0 - max(0.0, trail_t)))
        r, g, b = 235, 240, 255
        for ex, ey in ((46.0, 22.0), (54.0, 22.0)):
            if math.hypot(x - ex, (y - ey) / 1.4) < 2.6:
                r, g, b, a = 30, 30, 50, 1.0
        if math.hypot((x - 51.0) / 1.3, y - 32.0) < 3.0:  # an open mouth
            r, g, b, a = 40, 40, 60, 1.0
        return (r, g, b, 255 * a)
    return picture(64, 64, pixel)


def bird():
    def pixel(x, y):
        body = ellipse_distance(x, y, 32.0, 20.0, 13.0, 5.0)
        head = math.hypot(x - 46.0, y - 17.0) - 4.5
        beak = -1.0 if 50.0 <= x <= 57.0 and abs(y - 17.5) <= 1.8 * (57.0 - x) / 7.0 else 1.0
        tail = -1.0 if 10.0 <= x <= 21.0 and abs(y - 20.0) <= 1.0 + (21.0 - x) * 0.35 else 1.0
        # Two raised wings swept back from the shoulders.
        wing = 1.0
        for reach, lift in ((1.0, 1.0), (0.8, 0.8)):
            s = (36.0 - x) / (16.0 * reach)
            if 0.0 <= s <= 1.0:
                ridge = 18.0 - 15.0 * lift * s
                wing = min(wing, abs(y - ridge) - 3.0 * (1.0 - s) - 0.5)
        a = max(coverage(body), coverage(head), coverage(beak * 2.0), coverage(tail * 2.0), coverage(wing))
        r, g, b = 60, 55, 60
        if beak < 0 and head > 0:
            r, g, b = 230, 170, 40
        if math.hypot(x - 47.5, y - 16.0) < 1.2:
            r, g, b = 250, 250, 250
        return (r, g, b, 255 * a)
    return picture(64, 32, pixel)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        'ember.png': ember(), 'bubble.png': bubble(), 'snowflake.png': snowflake(),
        'rain_streak.png': rain_streak(), 'fish.png': fish(), 'ghost.png': ghost(), 'bird.png': bird(),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
