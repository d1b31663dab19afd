#!/usr/bin/env python3
"""The brush kinds in the scene viewer: a document of one plain slide and one slide per brush over
the same striped picture, with a mask that covers the picture's left half, shown at fixed times.

  frames   with "Main" each kind changes the picture inside the mask as it shades it and leaves it
           untouched outside; waves with "MainFX" redraw the part of the quad their mask reaches
           from the picture drawn so far, and the layer shows that picture (filtered) beyond it:
           only the stripes' edges outside the mask may soften; kinds that follow time change between two frames, and a one-frame pattern and the
           background copy do not; the patterns (the library's own containers) repeat tile by
           tile, the background copy shows the picture one stripe further down; a brush whose
           effect is missing draws nothing at all.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from wine_e2e import check, main, slide_frames, ONE_SCREEN  # noqa: E402

W, H = 160, 120
SLIDE = 2.0  # each slide shows for 2 s, without fades
SLIDES = ["plain", "light", "waves", "water", "waves over the scene", "no effect",
          "move", "expand", "radial wave", "rotation", "pattern", "pattern C", "background copy"]
# The slides whose brush draws with "Main": it changes the picture inside the mask only.
MAIN = ["light", "waves", "water", "move", "expand", "radial wave", "rotation", "pattern", "pattern C",
        "background copy"]
# Of those, the ones that follow time; the rest draw the same frame again.
TIMED = ["light", "waves", "water", "move", "expand", "radial wave", "rotation", "pattern"]
STILL = ["pattern C", "background copy"]
TILE = 40     # the patterns' tile across: 16 picture pixels (zoom 0.25 of 64), 2.5 screen pixels each
STRIPE = 15   # one stripe of the picture: 6 picture pixels


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

    for name in MAIN + ["no effect"]:
        check(changed(shown[name][0], plain, outside) == 0, name + ": the picture outside the mask changed")
    # Over the scene the picture drawn so far is shown again, sampled with filtering (by the
    # brush's pass inside the part of the quad its mask reaches, by the layer beyond it): only the
    # stripes' edges may soften. The device test counts those pixels exactly.
    def interior(y, x):
        return 0 < y < H - 1 and plain[y - 1][x] == plain[y][x] == plain[y + 1][x]
    fx = shown["waves over the scene"][0]
    check(all(same(fx[y][x], plain[y][x]) for y in range(H) for x in range(W) if outside(x) and interior(y, x)),
          "waves over the scene: the picture outside the mask changed")
    for name in MAIN + ["waves over the scene"]:
        first, second = shown[name]
        check(changed(first, plain, inside) > W * H // 20, name + ": the picture inside the mask did not change")
        if name in STILL:
            check(changed(first, second, inside) == 0, name + ": the picture inside the mask changes by itself")
        else:
            check(changed(first, second, inside) > 0, name + ": nothing inside the mask follows time")
    # The patterns repeat tile by tile across the mask (the stripes below do not change across).
    for name in ["pattern", "pattern C"]:
        rows = shown[name][0]
        check(all(same(rows[y][x], rows[y][x + TILE], 6) for y in range(H) for x in range(W) if inside(x + TILE)),
              name + ": the pattern does not repeat tile by tile")
    # The copy shows the picture one stripe further down: inside a stripe, the other stripe's colour.
    def stripe_interior(y):
        return 0 < y < H - 1 and plain[y - 1][0] == plain[y][0] == plain[y + 1][0]
    copy = shown["background copy"][0]
    rows = [y for y in range(H - STRIPE) if stripe_interior(y) and stripe_interior(y + STRIPE)]
    check(len(rows) > H // 3, "background copy: too few stripe rows to compare")
    check(all(same(copy[y][x], plain[y + STRIPE][x], 6) and not same(copy[y][x], plain[y][x], 40)
              for y in rows for x in range(W) if inside(x)),
          "background copy: the picture inside the mask is not the picture one stripe further down")
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
