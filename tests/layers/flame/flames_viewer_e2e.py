#!/usr/bin/env python3
"""The fire brush and the flame layer in the scene viewer: a document of one plain slide, two flame
slides (without and with the heat distortion) and two fire-brush slides over the same picture,
then two heat distortions without fire over a striped picture (of strength 0, and strong without
its bump picture), shown at fixed times.

  frames   the flame layer's band burns over the lower part of the picture and moves while the
           upper part stays the picture (exactly without the distortion, within a tolerance with
           it); a fire brush draws moving flames inside its quadrilateral and nothing outside it;
           a fire brush whose effect is missing draws nothing; a heat distortion without its bump
           picture leaves a striped scene unmoved.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "wine"))
from wine_e2e import check, main, slide_frames, ONE_SCREEN  # noqa: E402

W, H = 160, 120  # a 64 x 48 picture fills it: 2.5 screen pixels per picture pixel
SLIDE = 2.0
SLIDES = ["plain", "flames, still air", "flames", "fire brush", "fire brush without effect",
          "stripes through still air", "heat without a bump picture"]
BAND_TOP = int(H * 0.35)          # the band covers the lower 65 % of the picture
QUAD = (40, 30, 120, 100)         # the brush's corners (16, 12) to (48, 40) on the screen


def same(a, b, tolerance=3):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def changed(a, b, where, tolerance=3):
    return sum(1 for y in range(H) for x in range(W) if where(x, y) and not same(a[y][x], b[y][x], tolerance))


def above_band(x, y):
    return y < BAND_TOP - 2


def in_band(x, y):
    return y >= BAND_TOP + 2


def in_quad(x, y):
    return QUAD[0] + 2 <= x < QUAD[2] - 2 and QUAD[1] + 2 <= y < QUAD[3] - 2


def off_quad(x, y):
    return not (QUAD[0] - 2 <= x < QUAD[2] + 2 and QUAD[1] - 2 <= y < QUAD[3] + 2)


def frames(env):
    shown = slide_frames(env, "tests/layers/flame/documents/viewer-flames.dds", SLIDES, (W, H), SLIDE, [0.5, 0.8])
    plain = shown["plain"][0]
    check(changed(plain, shown["plain"][1], lambda x, y: True) == 0, "the plain slide changes by itself")

    still = shown["flames, still air"]
    check(changed(still[0], plain, above_band, 0) == 0, "flames, still air: the picture above the band changed")
    check(changed(still[0], plain, in_band) > W * H // 10, "flames, still air: no fire over the lower part")
    check(changed(still[0], still[1], in_band) > 0, "flames, still air: the band does not move")
    check(changed(still[0], still[1], above_band, 0) == 0, "flames, still air: the top moves")
    # Fire is red to yellow: over the blue picture red grows where it burns.
    check(any(still[0][y][x][0] > plain[y][x][0] + 60 for y in range(BAND_TOP, H) for x in range(W)),
          "flames, still air: the band is not fire-coloured")

    hot = shown["flames"]
    check(changed(hot[0], plain, above_band, 8) == 0, "flames: the distortion moved the top beyond its tolerance")
    check(changed(hot[0], plain, in_band) > W * H // 10, "flames: no fire over the lower part")
    check(changed(hot[0], hot[1], in_band) > 0, "flames: the band does not move")

    brush = shown["fire brush"]
    check(changed(brush[0], plain, off_quad, 0) == 0, "fire brush: the picture outside the quadrilateral changed")
    check(changed(brush[0], plain, in_quad) > (QUAD[2] - QUAD[0]) * (QUAD[3] - QUAD[1]) // 10,
          "fire brush: no flames inside the quadrilateral")
    check(changed(brush[0], brush[1], in_quad) > 0, "fire brush: the flames do not move")
    check(changed(shown["fire brush without effect"][0], plain, lambda x, y: True, 0) == 0,
          "fire brush without effect: the brush drew something")

    # Without its bump picture the heat distortion (strong here: 5 % of the picture) leaves the
    # striped scene where it is, in every frame: as the distortion pass of strength 0 draws it.
    stripes = shown["stripes through still air"][0]
    for k, frame in enumerate(shown["heat without a bump picture"]):
        moved = changed(frame, stripes, lambda x, y: True, 2)
        check(moved == 0, "heat without a bump picture: %d pixels of frame %d moved" % (moved, k))


CASES = {"frames": (frames, ONE_SCREEN)}

if __name__ == "__main__":
    sys.exit(main(CASES))
