#!/usr/bin/env python3
"""The brush kinds in the scene viewer: a document of one plain slide and one slide per brush over
the same striped picture, with a mask that covers the picture's left half, shown at fixed times.

  frames   with "Main" each kind changes the picture inside the mask as it shades it and leaves it
           untouched outside; waves with "MainFX" redraw the quad and leave the outside as it
           was; kinds that follow time change between two frames; a brush whose effect is
           missing draws nothing at all.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from wine_e2e import check, main, slide_frames, ONE_SCREEN  # noqa: E402

W, H = 160, 120
SLIDE = 2.0  # each slide shows for 2 s, without fades
SLIDES = ["plain", "light", "waves", "water", "waves over the scene", "no effect"]


def inside(x):
    return x < W * 3 // 8


def outside(x):
    return x >= W * 5 // 8


def same(a, b, tolerance=3):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def changed(a, b, where):
    return sum(1 for y in range(H) for x in range(W) if where(x) and not same(a[y][x], b[y][x]))


def frames(env):
    shown = slide_frames(env, "tests/brushes/documents/viewer-brushes.dds", SLIDES, (W, H), SLIDE, [0.5, 0.8])
    plain = shown["plain"][0]
    check(changed(plain, shown["plain"][1], lambda x: True) == 0, "the plain slide changes by itself")

    for name in ["light", "waves", "water", "no effect"]:
        check(changed(shown[name][0], plain, outside) == 0, name + ": the picture outside the mask changed")
    # Over the scene the quad is redrawn from the picture drawn so far, which is sampled with
    # filtering: only the stripes' edges may soften.
    def interior(y, x):
        return 0 < y < H - 1 and plain[y - 1][x] == plain[y][x] == plain[y + 1][x]
    fx = shown["waves over the scene"][0]
    check(all(same(fx[y][x], plain[y][x]) for y in range(H) for x in range(W) if outside(x) and interior(y, x)),
          "waves over the scene: the picture outside the mask changed")
    for name in ["light", "waves", "water", "waves over the scene"]:
        first, second = shown[name]
        check(changed(first, plain, inside) > W * H // 20, name + ": the picture inside the mask did not change")
        check(changed(first, second, inside) > 0, name + ": nothing inside the mask follows time")
    # The light only brightens, in place; the red-only water keeps no green or blue.
    light = shown["light"][0]
    check(all(light[y][x][c] >= plain[y][x][c] - 2 for y in range(H) for x in range(W) if inside(x) for c in range(3)),
          "light: a pixel inside the mask got darker")
    water = shown["water"][0]
    check(all(water[y][x][1] <= 3 and water[y][x][2] <= 3 for y in range(H) for x in range(W) if inside(x)),
          "water: a tint of red only left green or blue inside the mask")
    check(changed(shown["no effect"][0], plain, lambda x: True) == 0, "no effect: the brush drew something")


CASES = {"frames": (frames, ONE_SCREEN)}

if __name__ == "__main__":
    sys.exit(main(CASES))
