#!/usr/bin/env python3
"""Checks recordings of the null sink (raw s16le mono 22050 Hz) made by music-audio-test.sh.

  analyse-recording.py volume <full> <half> <muted>   full is heard at 440 Hz, the setting 50
                                                       (-20 dB) is a tenth as loud, muted is silent
  analyse-recording.py sequence <raw> <f1> <f2> ...    the tones are heard in this order
  analyse-recording.py stops <raw> <min s> <max s>     music is heard for between min and max seconds
                                                       in all (a 3 s tone stopped early)
"""
import array
import math
import sys

RATE = 22050
WINDOW = RATE // 20          # 50 ms
ACTIVE_RMS = 40.0            # above the null sink's silence (exactly 0) with margin


def windows(path):
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    for start in range(0, len(samples) - WINDOW + 1, WINDOW):
        chunk = samples[start:start + WINDOW]
        rms = math.sqrt(sum(s * s for s in chunk) / WINDOW)
        crossings = sum(1 for a, b in zip(chunk, chunk[1:]) if (a < 0) != (b < 0))
        yield rms, crossings * RATE / (2.0 * WINDOW)


def active(path):
    return [(rms, freq) for rms, freq in windows(path) if rms > ACTIVE_RMS]


def median(values):
    values = sorted(values)
    return values[len(values) // 2] if values else 0.0


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message)
    return condition


def volume(full_path, half_path, muted_path):
    full, half, muted = active(full_path), active(half_path), active(muted_path)
    full_level, half_level = median([r for r, _ in full]), median([r for r, _ in half])
    ratio = half_level / full_level if full_level else 0.0
    good = check(len(full) >= 12, "full volume: %d windows of 50 ms heard (tone 1.2 s)" % len(full))
    good &= check(abs(median([f for _, f in full]) - 440) < 30,
                  "full volume: the tone is 440 Hz (%.0f)" % median([f for _, f in full]))
    good &= check(len(half) >= 12, "volume 50: %d windows heard" % len(half))
    good &= check(0.07 < ratio < 0.14, "volume 50 is -20 dB: level %.0f against %.0f, ratio %.3f"
                  % (half_level, full_level, ratio))
    good &= check(len(muted) == 0, "muted: %d windows heard" % len(muted))
    return good


def sequence(path, expected):
    tones = []
    for _, freq in active(path):
        nearest = min((abs(freq - f), f) for f in (440, 660, 880))
        if nearest[0] > 40:
            continue  # a window across a change of tone
        if tones and tones[-1][0] == nearest[1]:
            tones[-1][1] += 1
        else:
            tones.append([nearest[1], 1])
    heard = [tone for tone, count in tones if count >= 4]  # at least 200 ms of the tone
    return check(heard == expected, "tones heard in order %s, expected %s" % (heard, expected))


def stops(path, shortest, longest):
    heard = len(active(path)) * WINDOW / RATE
    good = check(heard >= shortest, "the music is heard before the device loss (%.2f s)" % heard)
    return good & check(heard <= longest, "and stops with it: %.2f s of the 3 s tone heard" % heard)


def main():
    if sys.argv[1] == "volume":
        good = volume(*sys.argv[2:5])
    elif sys.argv[1] == "stops":
        good = stops(sys.argv[2], float(sys.argv[3]), float(sys.argv[4]))
    else:
        good = sequence(sys.argv[2], [int(f) for f in sys.argv[3:]])
    sys.exit(0 if good else 1)


if __name__ == "__main__":
    main()
