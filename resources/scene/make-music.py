#!/usr/bin/env python3
"""Synthesises the default scene's music: short, quiet loops as 16-bit PCM mono WAV, 22050 Hz.

  make-music.py <output.wav> <dawn|evening>

Every note is written around the loop (its tail wraps to the start), and so is the echo, so each
file repeats without a seam when the playlist plays it again. Deterministic: no randomness.
"""
import math
import struct
import sys
import wave

RATE = 22050
SECONDS = 8.0
N = int(RATE * SECONDS)
PEAK = 9000  # about -11 dB below full scale: background music


def pitch(name):
    """The frequency of a note name such as "A4" or "C#3"."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}[name[0]]
    if name[1] == "#":
        steps += 1
    octave = int(name[-1])
    return 440.0 * 2 ** ((steps + 12 * (octave - 4)) / 12.0)


def add_note(buffer, start, length, freq, voice, gain):
    """Adds one note from `start` seconds, lasting `length` seconds, around the loop."""
    first = int(start * RATE)
    count = int(length * RATE)
    w = 2 * math.pi * freq / RATE
    for i in range(count):
        t = i / RATE
        buffer[(first + i) % N] += gain * voice(w * i, t, length)


def pad(phase, t, length):
    """A soft organ-like pad: slow swell and release, a touch of the octave and fifth."""
    attack, release = 0.6, 0.9
    env = min(1.0, t / attack) * min(1.0, max(0.0, (length - t) / release))
    return env * (math.sin(phase) + 0.25 * math.sin(2 * phase) + 0.1 * math.sin(3 * phase))


def bell(phase, t, length):
    """A small bell: a quick strike that rings down, with an inharmonic partial."""
    env = min(1.0, t / 0.004) * math.exp(-t / 0.55) * min(1.0, (length - t) / 0.05)
    return env * (math.sin(phase) + 0.3 * math.sin(2.76 * phase) * math.exp(-t / 0.2))


def pluck(phase, t, length):
    """A plucked string: bright at the start, mellow as it fades."""
    env = min(1.0, t / 0.003) * math.exp(-t / 0.45) * min(1.0, (length - t) / 0.05)
    bright = math.exp(-t / 0.12)
    return env * (math.sin(phase) + 0.5 * bright * math.sin(2 * phase) + 0.25 * bright * math.sin(3 * phase))


def dawn(buffer):
    """C major: four chords of two seconds with a rising bell arpeggio over them."""
    chords = [("C3", "E3", "G3", "B3"), ("A2", "E3", "G3", "C4"), ("F2", "A3", "C4", "E4"), ("G2", "D3", "G3", "B3")]
    arpeggios = [("E5", "G5", "B5", "C6"), ("C5", "E5", "A5", "G5"), ("A4", "C5", "F5", "E5"), ("B4", "D5", "G5", "D5")]
    for bar, (chord, notes) in enumerate(zip(chords, arpeggios)):
        for note in chord:
            add_note(buffer, bar * 2.0, 2.6, pitch(note), pad, 0.16)
        for step, note in enumerate(notes):
            add_note(buffer, bar * 2.0 + step * 0.5, 1.6, pitch(note), bell, 0.22)


def evening(buffer):
    """A minor pentatonic: a plucked tune over a quiet drone of A and E."""
    for note in ("A2", "E3"):
        add_note(buffer, 0.0, SECONDS, pitch(note), pad, 0.12)
    tune = ["A4", "C5", "D5", "E5", None, "G5", "E5", "D5",
            "C5", None, "D5", "A4", "G4", "A4", None, None]
    for step, note in enumerate(tune):
        if note:
            add_note(buffer, step * 0.5, 1.4, pitch(note), pluck, 0.3)
            add_note(buffer, step * 0.5 + 0.25, 0.9, pitch(note) * 2, pluck, 0.06)


def echo(buffer, delay, feedback, repeats=4):
    """A soft echo, wrapped around the loop like the notes."""
    shift = int(delay * RATE)
    result = list(buffer)
    gain = 1.0
    for k in range(1, repeats + 1):
        gain *= feedback
        offset = (k * shift) % N
        for i in range(N):
            result[(i + offset) % N] += gain * buffer[i]
    return result


def main():
    out, name = sys.argv[1], sys.argv[2]
    buffer = [0.0] * N
    {"dawn": dawn, "evening": evening}[name](buffer)
    buffer = echo(buffer, 0.375, 0.3)
    scale = PEAK / max(abs(s) for s in buffer)
    frames = struct.pack("<%dh" % N, *(int(round(s * scale)) for s in buffer))
    with wave.open(out, "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(RATE)
        f.writeframes(frames)


main()
