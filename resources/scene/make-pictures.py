#!/usr/bin/env python3
"""Paints the default scene's pictures with ImageMagick: skies, hills, water and lights.

  make-pictures.py <output dir> [picture name ...]

Every shape comes from a seeded random generator and every ImageMagick texture from -seed, so a
build always paints the same pictures. Output: 1024 x 768 JPEG, 8 bits per channel.
"""
import math
import os
import random
import subprocess
import sys

W, H = 1024, 768


def ridge(rng, base, amplitude, roughness=0.55, steps=7, left=-20, right=W + 20):
    """A skyline by midpoint displacement: points from left to right around height `base`."""
    points = [(left, base + rng.uniform(-amplitude, amplitude)), (right, base + rng.uniform(-amplitude, amplitude))]
    spread = amplitude
    for _ in range(steps):
        refined = [points[0]]
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            refined.append(((x0 + x1) / 2, (y0 + y1) / 2 + rng.uniform(-spread, spread)))
            refined.append((x1, y1))
        points = refined
        spread *= roughness
    return points


def hills(rng, base, amplitude, waves=3):
    """Rolling hills: a few sines of random phase summed around height `base`."""
    terms = [(amplitude / (i + 1), rng.uniform(1.0, 2.2) * (i + 1) * 6.283 / W, rng.uniform(0, 6.283))
             for i in range(waves)]
    return [(x, base + sum(a * math.sin(f * x + ph) for a, f, ph in terms))
            for x in range(-16, W + 17, 8)]


def peaks(rng, base, height, count, jitter=12):
    """A mountain range: `count` pointed peaks up to `height` above `base`, with rough flanks."""
    xs = [(i + 0.5 + rng.uniform(-0.3, 0.3)) * W / count for i in range(count)]
    corners = [(-20, base - rng.uniform(0.2, 0.5) * height)]
    for a, b in zip([-20] + xs, xs + [W + 20]):
        corners.append(((a + b) / 2, base - rng.uniform(0.05, 0.35) * height))
        if b <= W:
            corners.append((b, base - rng.uniform(0.6, 1.0) * height))
    corners.append((W + 20, base - rng.uniform(0.2, 0.5) * height))
    points = []
    for (x0, y0), (x1, y1) in zip(corners, corners[1:]):
        n = max(2, int((x1 - x0) / 6))
        for i in range(n):
            t = i / n
            points.append((x0 + t * (x1 - x0), y0 + t * (y1 - y0) + rng.uniform(-jitter, jitter) * (1 - abs(2 * t - 1))))
    points.append(corners[-1])
    return points


def snow_above(points, snowline, rng):
    """The parts of a mountain range above a ragged snow line, one MVG polygon per cap."""
    caps, cap = [], []
    for x, y in points:
        line = snowline + 10 * math.sin(x / 23.0) + 6 * math.sin(x / 7.0)
        if y < line:
            cap.append((x, y, line))
        elif cap:
            caps.append(cap)
            cap = []
    if cap:
        caps.append(cap)
    shapes = []
    for cap in caps:
        if len(cap) < 3:
            continue
        top = ["%.1f,%.1f" % (x, y) for x, y, _ in cap]
        bottom = ["%.1f,%.1f" % (x, line) for x, _, line in reversed(cap)]
        shapes.append("polygon " + " ".join(top + bottom))
    return "\n".join(shapes)


def area_below(points, bottom=H + 20):
    """The polygon between a skyline and the bottom of the picture, as MVG."""
    coords = " ".join("%.1f,%.1f" % p for p in points)
    return "polygon %s %d,%d %d,%d" % (coords, points[-1][0], bottom, points[0][0], bottom)


class Picture:
    """One convert command built layer by layer over a sky gradient."""

    def __init__(self, name, sky_top, sky_bottom):
        self.name = name
        self.args = ["convert", "-size", "%dx%d" % (W, H), "gradient:%s-%s" % (sky_top, sky_bottom)]

    def mvg(self, text):
        # Passed inline: Debian's ImageMagick policy refuses to read "@file" arguments.
        return text

    def draw(self, *primitives, blur=0.0, opacity=1.0, compose="over"):
        """Draws primitives on a transparent layer, softens it and lays it over the picture."""
        layer = ["(", "-size", "%dx%d" % (W, H), "xc:none", "-draw", self.mvg("\n".join(primitives))]
        if blur:
            layer += ["-blur", "0x%g" % blur]
        if opacity < 1.0:
            layer += ["-channel", "A", "-evaluate", "multiply", "%g" % opacity, "+channel"]
        self.args += layer + [")", "-compose", compose, "-composite"]

    def texture(self, seed, colours, mask_primitive, blur=2.0, opacity=1.0, compose="over", shade=0.25):
        """A mottled fill from the first to the second of `colours` ("#a-#b"), darker towards the
        bottom by `shade`, kept only inside the shape `mask_primitive`."""
        low, high = colours.split("-")
        self.args += ["(", "-seed", str(seed), "-size", "%dx%d" % (W, H), "plasma:grey50-grey50",
                      "-colorspace", "gray", "-blur", "0x%g" % blur, "-auto-level",
                      "(", "-size", "1x256", "gradient:%s-%s" % (low, high), "-rotate", "90", ")", "-clut",
                      "(", "-size", "%dx%d" % (W, H), "gradient:white-grey%d" % int(100 - 100 * shade), ")",
                      "-compose", "multiply", "-composite",
                      "(", "-size", "%dx%d" % (W, H), "xc:black", "-fill", "white",
                      "-draw", self.mvg(mask_primitive), "-blur", "0x1.2", ")",
                      "-alpha", "off", "-compose", "copy_opacity", "-composite"]
        if opacity < 1.0:
            self.args += ["-channel", "A", "-evaluate", "multiply", "%g" % opacity, "+channel"]
        self.args += [")", "-compose", compose, "-composite"]

    def clouds(self, seed, opacity, top, bottom):
        """Soft clouds: blurred plasma brightness over the sky band between top and bottom."""
        self.args += ["(", "-seed", str(seed), "-size", "%dx%d" % (W, H), "plasma:grey50-grey50",
                      "-colorspace", "gray", "-blur", "0x18", "-level", "45%,75%",
                      "(", "-size", "%dx%d" % (W, H), "xc:black", "-fill", "white",
                      "-draw", "rectangle 0,%d %d,%d" % (top, W, bottom), "-blur", "0x40", ")",
                      "-compose", "multiply", "-composite",
                      "-evaluate", "multiply", "%g" % opacity, ")",
                      "-compose", "screen", "-composite"]

    def reflect(self, horizon, tint, darkness):
        """Mirrors the band just above `horizon` into the water below it, tinted and rippled."""
        depth = H - horizon
        self.args += ["(", "+clone", "-crop", "%dx%d+0+%d" % (W, depth, horizon - depth), "+repage", "-flip",
                      "-background", tint, "-wave", "1.5x40", "-crop", "%dx%d+0+0" % (W, depth), "+repage",
                      "-blur", "0x1.5", "-fill", tint, "-colorize", "%d%%" % darkness, ")",
                      "-geometry", "+0+%d" % horizon, "-compose", "over", "-composite"]

    def save(self, out):
        self.args += ["-depth", "8", "-quality", "90", "-sampling-factor", "1x1", out]
        result = subprocess.run(self.args, capture_output=True, text=True)
        if result.returncode != 0:
            sys.exit("make-pictures: %s: %s" % (self.name, result.stderr.strip()))


def stars(rng, count, top, bottom, colour="#fff8e8"):
    return ["fill %s" % colour] + ["circle %.1f,%.1f %.1f,%.1f" % (x, y, x + r, y)
                                   for x, y, r in ((rng.uniform(0, W), rng.uniform(top, bottom) ** 1.0,
                                                    rng.choice((0.6, 0.8, 1.0, 1.4))) for _ in range(count))]


def pine(x, base, height, colour):
    """A fir tree of three stacked triangles."""
    w = height * 0.38
    shapes = ["fill %s" % colour]
    for level in range(3):
        top = base - height + level * height * 0.25
        bottom = top + height * 0.45
        half = w * (0.55 + 0.25 * level)
        shapes.append("polygon %.1f,%.1f %.1f,%.1f %.1f,%.1f" % (x, top, x - half, bottom, x + half, bottom))
    shapes.append("rectangle %.1f,%.1f %.1f,%.1f" % (x - height * 0.03, base - height * 0.1, x + height * 0.03, base))
    return shapes


def meadow_dawn(p, rng):
    p.draw("fill #ffe9b0", "circle 700,420 700,340", blur=60, opacity=0.9)
    p.draw("fill #fff6da", "circle 700,430 700,400", blur=5)
    p.clouds(11, 0.5, 60, 360)
    p.draw("fill #9aa8c6", area_below(hills(rng, 440, 30)), blur=4, opacity=0.85)
    p.texture(14, "#5d7f70-#7d9a80", area_below(hills(rng, 480, 28)), blur=6, shade=0.2)
    p.texture(12, "#4d8a3a-#86b450", area_below(hills(rng, 540, 36)), blur=4, shade=0.3)
    p.texture(13, "#3a7a2a-#72aa40", area_below(hills(rng, 630, 22, waves=4)), blur=2, shade=0.35)
    trees = []
    for _ in range(6):
        x = rng.uniform(40, W - 40)
        y = 560 + 30 * math.sin(x / 90.0)
        trees += ["fill #2f5a2a", "ellipse %.0f,%.0f %.0f,%.0f 0,360" % (x, y - 38, 26, 30),
                  "fill #3a2a1a", "rectangle %.0f,%.0f %.0f,%.0f" % (x - 3, y - 12, x + 3, y + 6)]
    p.draw(*trees, blur=1.2)
    flowers = []
    for _ in range(320):
        x, y = rng.uniform(0, W), rng.uniform(650, H)
        flowers.append("fill %s" % rng.choice(("#f7f2d0", "#f2c94c", "#e9a3c9", "#ffffff", "#c9a3e9")))
        flowers.append("circle %.1f,%.1f %.1f,%.1f" % (x, y, x + 1.2 + (y - 640) / 50, y))
    p.draw(*flowers, blur=0.6)

def mountain_lake(p, rng):
    horizon = 476  # the shore line at 62 % of the height
    p.clouds(21, 0.45, 40, 240)
    far = peaks(rng, 440, 300, 5)
    p.texture(24, "#6f7f9c-#93a3bf", area_below(far, horizon + 2), blur=3, shade=0.15)
    p.draw("fill #f4f7fb", snow_above(far, 265, rng), blur=1.2, opacity=0.95)
    near = peaks(rng, 460, 140, 7, jitter=8)
    p.texture(22, "#3d5a48-#5d806a", area_below(near, horizon + 2), blur=2, shade=0.3)
    p.texture(23, "#24402e-#36583c", area_below(hills(rng, 462, 8, waves=4), horizon + 2), blur=1)
    trees = []
    for _ in range(90):
        trees += pine(rng.uniform(0, W), horizon + 2, rng.uniform(16, 40), "#1b3324")
    p.draw(*trees, blur=0.5)
    p.reflect(horizon, "#1d4a6e", 35)
    p.draw("fill #d8e6f0", *("rectangle %d,%d %d,%d" % (x, y, x + rng.randint(20, 90), y + 1)
                               for x, y in ((rng.randint(0, W), rng.randint(horizon + 10, H)) for _ in range(60))),
           blur=0.8, opacity=0.35)

def night_camp(p, rng):
    p.draw(*stars(rng, 420, 0, 420), blur=0.4)
    p.draw("fill #f3efd8", "circle 820,120 820,92", blur=1.0)
    p.draw("fill #f3efd8", "circle 820,120 820,70", blur=30, opacity=0.35)
    p.draw("fill #101a26", area_below(ridge(rng, 470, 40)), blur=1)
    trees = []
    for _ in range(40):
        x = rng.uniform(0, W)
        if 380 < x < 640:
            continue
        trees += pine(x, rng.uniform(560, 640), rng.uniform(160, 320), "#05090d")
    p.draw(*trees, blur=0.6)
    p.draw("fill #ff8a2a", "ellipse 512,700 260,120 0,360", blur=70, opacity=0.75, compose="screen")
    p.draw("fill #0a0a0a", area_below(ridge(rng, 700, 10, steps=8)))
    p.draw("fill #4a2c1a", "roundrectangle 400,690 620,712 8,8", "fill #3b2315", "roundrectangle 430,705 600,728 8,8",
           "fill #5a3620", "ellipse 512,725 90,12 0,360")
    p.draw("fill #ffcf6a", "polygon 470,700 500,610 515,660 530,590 552,700", blur=7, opacity=0.9, compose="screen")


def sea_floor(p, rng):
    rays = ["fill #bfeee8"]
    for _ in range(7):
        x = rng.uniform(80, W - 80)
        rays.append("polygon %.0f,0 %.0f,0 %.0f,%d %.0f,%d" % (x - 20, x + 30, x + 140, H, x - 70, H))
    p.draw(*rays, blur=25, opacity=0.22, compose="screen")
    p.texture(32, "#2f6a66-#3f807a", area_below(hills(rng, 560, 30)), blur=8, opacity=0.6, shade=0.2)
    p.texture(31, "#a89a70-#d8c898", area_below(hills(rng, 630, 20, waves=4)), blur=2, shade=0.25)
    rocks = []
    for _ in range(9):
        x, y, r = rng.uniform(0, W), rng.uniform(620, 720), rng.uniform(20, 70)
        rocks += ["fill %s" % rng.choice(("#3f5a5a", "#4c6664", "#345050")),
                  "ellipse %.0f,%.0f %.0f,%.0f 180,360" % (x, y + r * 0.3, r, r * 0.8)]
    p.draw(*rocks, blur=1.5)
    weeds = ["stroke #2f7a4a", "stroke-width 5", "fill none"]
    for _ in range(24):
        x, y = rng.uniform(0, W), rng.uniform(650, H)
        h = rng.uniform(80, 200)
        weeds.append("path 'M %.0f,%.0f C %.0f,%.0f %.0f,%.0f %.0f,%.0f'" %
                     (x, y, x - 30, y - h / 3, x + 30, y - 2 * h / 3, x + rng.uniform(-20, 20), y - h))
    p.draw(*weeds, blur=1.0, opacity=0.9)
    bubbles = ["fill none", "stroke #e8fffa", "stroke-width 1.5"]
    for _ in range(40):
        x, y, r = rng.uniform(0, W), rng.uniform(60, 600), rng.uniform(2, 6)
        bubbles.append("circle %.0f,%.0f %.0f,%.0f" % (x, y, x + r, y))
    p.draw(*bubbles, blur=0.5, opacity=0.5)

def winter_village(p, rng):
    p.draw("fill #fff2d8", "circle 240,250 240,170", blur=50, opacity=0.6)
    p.clouds(41, 0.35, 40, 300)
    far = peaks(rng, 470, 170, 6)
    p.texture(44, "#b8c6da-#dfe8f2", area_below(far), blur=4, shade=0.1)
    p.texture(42, "#d6e0ec-#f7fbff", area_below(hills(rng, 520, 30)), blur=5, shade=0.15)
    trees = []
    for _ in range(40):
        trees += pine(rng.uniform(0, W), rng.uniform(520, 560), rng.uniform(30, 60), "#3a5a50")
    p.draw(*trees, blur=0.8)
    p.texture(43, "#e4ebf4-#ffffff", area_below(hills(rng, 590, 12, waves=4)), blur=3, shade=0.12)
    houses = []
    for i in range(9):
        x = 60 + i * 105 + rng.uniform(-15, 15)
        base = 615 + rng.uniform(-10, 10)
        w, h = rng.uniform(60, 80), rng.uniform(45, 65)
        houses += ["fill %s" % rng.choice(("#7a4a3a", "#8a6040", "#6a5a4a", "#944c3c")),
                   "rectangle %.0f,%.0f %.0f,%.0f" % (x, base - h, x + w, base),
                   "fill #f4f7fb", "polygon %.0f,%.0f %.0f,%.0f %.0f,%.0f" % (x - 8, base - h, x + w / 2, base - h - 34, x + w + 8, base - h),
                   "fill #ffd27a", "rectangle %.0f,%.0f %.0f,%.0f" % (x + 12, base - h + 14, x + 26, base - h + 30),
                   "rectangle %.0f,%.0f %.0f,%.0f" % (x + w - 26, base - h + 14, x + w - 12, base - h + 30)]
    p.draw(*houses, blur=0.5)
    trees = []
    for _ in range(14):
        trees += pine(rng.uniform(0, W), rng.uniform(690, 770), rng.uniform(90, 160), "#2c4a3c")
    p.draw(*trees, blur=0.7)

def harbour_dusk(p, rng):
    horizon = 500
    p.draw("fill #ffb070", "circle 300,470 300,400", blur=70, opacity=0.8)
    p.draw("fill #ffe0a0", "circle 300,480 300,452", blur=4)
    p.clouds(51, 0.4, 80, 380)
    p.draw("fill #2e2a40", area_below(ridge(rng, 470, 20), horizon + 2), blur=1.2)
    town = ["fill #1b1826"]
    x = 560
    while x < W:
        w, h = rng.uniform(30, 60), rng.uniform(40, 120)
        town.append("rectangle %.0f,%.0f %.0f,%d" % (x, horizon - h, x + w, horizon + 2))
        x += w
    town += ["fill #1b1826", "rectangle 880,300 900,%d" % horizon,
             "polygon 870,300 910,300 890,270"]
    p.draw(*town, blur=0.5)
    p.draw("stroke #1b1826", "stroke-width 6", "line 890,290 950,230", "line 890,290 830,350",
           "line 890,290 950,350", "line 890,290 830,230", blur=0.5)
    lights = ["fill #ffd890"] + ["circle %.0f,%.0f %.0f,%.0f" % (x, y, x + 2, y)
                                  for x, y in ((rng.uniform(560, W), rng.uniform(400, 495)) for _ in range(40))]
    p.draw(*lights, blur=0.8)
    p.reflect(horizon, "#3a2a4a", 30)
    p.draw("fill #ffcf90", *("rectangle %d,%d %d,%d" % (x, y, x + rng.randint(30, 120), y + 2)
                               for x, y in ((rng.randint(180, 420), rng.randint(horizon + 8, H)) for _ in range(45))),
           blur=1.0, opacity=0.5, compose="screen")
    p.draw("fill #14121c", "polygon 80,640 260,640 230,680 110,680", "rectangle 165,520 170,640",
           "polygon 172,530 172,630 240,630", blur=0.6)


PICTURES = {
    # name: (painter, sky top, sky bottom, seed)
    "meadow_dawn": (meadow_dawn, "#2b4a8a", "#f5b98a", 101),
    "mountain_lake": (mountain_lake, "#3f78c0", "#cfe4f4", 102),
    "night_camp": (night_camp, "#02040c", "#1a2a4a", 103),
    "sea_floor": (sea_floor, "#2aa0a8", "#06303c", 104),
    "winter_village": (winter_village, "#9fb6d4", "#eef2f8", 105),
    "harbour_dusk": (harbour_dusk, "#2a2350", "#f08a5a", 106),
}


def main():
    out_dir = sys.argv[1]
    names = sys.argv[2:] or sorted(PICTURES)
    os.makedirs(out_dir, exist_ok=True)
    for name in names:
        painter, top, bottom, seed = PICTURES[name]
        picture = Picture(name, top, bottom)
        painter(picture, random.Random(seed))
        picture.save(os.path.join(out_dir, name + ".jpg"))


main()
