#!/usr/bin/env python3
"""Checks recordings of the null sink (raw s16le mono 22050 Hz) made by sound-audio-test.sh.

  analyse-sound.py buffers <raw>       the phases of the probe's "buffers" mode, in order
  analyse-sound.py slide <seconds> <full> <object half> <setting half> <muted>
                                       the slide's looping tone is heard the whole time; volume 50
                                       of the object or of the setting is -25 dB; muted is silent
  analyse-sound.py random <min> <max> <raw>
                                       a short tone starts again every min to max seconds
  analyse-sound.py formats <seconds> <raw>
                                       the four tones of the probe's "formats" mode (PCM, float,
                                       extensible PCM, extensible float), each heard for the
                                       seconds at the loudness of the first
"""
import importlib.util
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches
_spec = importlib.util.spec_from_file_location(
    "analyse_recording", os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                      "analyse-recording.py"))
recording = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(recording)
check, median, WINDOW, RATE = recording.check, recording.median, recording.WINDOW, recording.RATE
SECONDS_PER_WINDOW = WINDOW / RATE


def segments(path):
    """Runs of heard windows: [start s, length s, median level, median frequency]; a gap of one
    window inside a run (a fade at a loop's seam) does not split it."""
    runs = []
    current = None
    quiet = 0
    for i, (rms, freq) in enumerate(recording.windows(path)):
        if rms > recording.ACTIVE_RMS:
            if current is None:
                current = {"start": i, "end": i, "levels": [], "freqs": []}
            current["end"] = i
            current["levels"].append(rms)
            current["freqs"].append(freq)
            quiet = 0
        elif current is not None:
            quiet += 1
            if quiet > 1:
                runs.append(current)
                current = None
    if current is not None:
        runs.append(current)
    return [(r["start"] * SECONDS_PER_WINDOW, (r["end"] - r["start"] + 1) * SECONDS_PER_WINDOW,
             median(r["levels"]), median(r["freqs"])) for r in runs]


def describe(runs):
    return ", ".join("%.0f Hz %.2f s level %.0f" % (f, n, l) for _, n, l, f in runs) or "nothing"


def buffers(path):
    runs = segments(path)
    print("heard: " + describe(runs))
    # (frequency, seconds, level against the first phase); the 330 Hz phase at SetVolume(-10000)
    # and the 990 Hz phase under a primary buffer at -10000 are not heard at all.
    expected = [(440, 1.6, 1.0), (550, 0.5, 1.0), (660, 1.0, 1.0), (880, 1.0, 0.1), (440, 0.7, 1.0)]
    good = check(len(runs) == len(expected), "%d sounds heard, expected %d" % (len(runs), len(expected)))
    if not good:
        return False
    full = runs[0][2]
    names = ["looping past the end of its 0.5 s buffer", "played once", "at SetVolume(0) after -10000",
             "with the primary buffer at -2000 (-20 dB)", "looping turned into one play from the start"]
    for (freq, seconds, level), (_, length, heard_level, heard_freq), name in zip(expected, runs, names):
        good &= check(abs(heard_freq - freq) < 30 and abs(length - seconds) <= 0.2 and
                      level * 0.75 < heard_level / full < level * 1.35,
                      "%s: %.0f Hz for %.2f s at %.3f of full (expected %d Hz, %.1f s, %.2f)"
                      % (name, heard_freq, length, heard_level / full, freq, seconds, level))
    return good


def slide(seconds, full_path, object_path, setting_path, muted_path):
    good = True
    levels = []
    for path, name in ((full_path, "volume 100"), (object_path, "object volume 50"),
                       (setting_path, "volume setting 50")):
        runs = segments(path)
        longest = max(runs, key=lambda r: r[1]) if runs else (0, 0.0, 0.0, 0.0)
        print("%s: %s" % (name, describe(runs)))
        # Heard from the first frame to the end: the whole time less what the start and end of
        # the recording clip (the probe's start-up lies before the first frame).
        good &= check(len(runs) == 1 and longest[1] >= seconds - 0.2,
                      "%s: one unbroken sound of %.2f s (the slide plays %.1f s)" % (name, longest[1], seconds))
        good &= check(abs(longest[3] - 440) < 30, "%s: the tone is 440 Hz (%.0f)" % (name, longest[3]))
        levels.append(longest[2])
    full = levels[0] or 1.0
    for level, name in zip(levels[1:], ("object volume 50", "volume setting 50")):
        # -2500 hundredths of a decibel: a factor of 0.056.
        good &= check(0.04 < level / full < 0.08, "%s is -25 dB: ratio %.3f" % (name, level / full))
    muted = segments(muted_path)
    good &= check(not muted, "muted: %s" % describe(muted))
    return good


def random_replay(low, high, path):
    runs = segments(path)
    print("heard: " + describe(runs))
    starts = [start for start, _, _, _ in runs]
    gaps = [b - a for a, b in zip(starts, starts[1:])]
    good = check(len(runs) >= 4, "%d plays heard" % len(runs))
    good &= check(all(abs(length - 0.25) <= 0.1 for _, length, _, _ in runs),
                  "each play is the whole 0.25 s tone once: %s" % ["%.2f" % r[1] for r in runs])
    # A replay starts with the first frame after its time: up to one frame (30 ms and the
    # probe's drawing) late, and the recording's windows are 50 ms apart.
    good &= check(all(low - 0.1 <= g <= high + 0.15 for g in gaps),
                  "plays start %s s apart, within %s to %s s" % (["%.2f" % g for g in gaps], low, high))
    return good


def formats(seconds, path):
    runs = segments(path)
    print("heard: " + describe(runs))
    expected = [(440, "16-bit PCM"), (550, "IEEE float"), (660, "extensible PCM"), (880, "extensible float")]
    good = check(len(runs) == len(expected), "%d sounds heard, expected %d" % (len(runs), len(expected)))
    if not good:
        return False
    full = runs[0][2] or 1.0
    for (freq, name), (_, length, level, heard_freq) in zip(expected, runs):
        # Converted wrongly (float read as integers, a sub-format ignored) a tone would be noise,
        # another pitch or another loudness.
        good &= check(abs(heard_freq - freq) < 30 and length >= seconds - 0.2 and 0.8 < level / full < 1.25,
                      "%s: %.0f Hz for %.2f s at %.3f of the PCM tone (expected %d Hz for %.1f s, 1.0)"
                      % (name, heard_freq, length, level / full, freq, seconds))
    return good


def main():
    mode = sys.argv[1]
    if mode == "buffers":
        good = buffers(sys.argv[2])
    elif mode == "slide":
        good = slide(float(sys.argv[2]), *sys.argv[3:7])
    elif mode == "formats":
        good = formats(float(sys.argv[2]), sys.argv[3])
    else:
        good = random_replay(float(sys.argv[2]), float(sys.argv[3]), sys.argv[4])
    sys.exit(0 if good else 1)


main()
