#!/usr/bin/env python3
"""The sounds of common_res.dll, synthesised into the folder given as the only argument, as 16-bit
PCM mono WAV at 22050 Hz with an 18-byte "fmt " chunk (cbSize 0):
  birdsong.wav      "DDS" 250: a few chirps and a trill, 2.5 s, for random replay
  fire_crackle.wav  "DDS" 251: a low rumble with crackles, 3 s, loops without a seam
  rain.wav          "DDS" 252: a steady hiss of rain with drops, 3 s, loops without a seam
  water.wav         "DDS" 253: babbling water with bubbles, 3 s, loops without a seam
  tone_440.wav      "DDS" 254: a 440 Hz sine of amplitude 8000, 1 s (440 whole periods)
Deterministic: the noise comes from a fixed-seed generator of this file.
"""
import math
import os
import struct
import sys

RATE = 22050


class Noise:
    """A 32-bit linear congruential generator: the same numbers on every run and platform."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 4294967296.0

    def white(self):
        return 2.0 * self.next() - 1.0


def wav_bytes(samples, peak):
    """16-bit mono PCM, the loudest sample scaled to `peak`; the fmt chunk is 18 bytes long."""
    top = max(1e-9, max(abs(s) for s in samples))
    data = b"".join(struct.pack("<h", int(round(s / top * peak))) for s in samples)
    fmt = struct.pack("<HHIIHHH", 1, 1, RATE, RATE * 2, 2, 16, 0)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def one_pole(samples, k, wrap=True):
    """A low-pass filter; with `wrap` it runs twice round the loop so that its end meets its start."""
    out = [0.0] * len(samples)
    y = 0.0
    for _ in range(2 if wrap else 1):
        for i, x in enumerate(samples):
            y += k * (x - y)
            out[i] = y
    return out


def add_burst(buffer, start, length, gain, noise, decay, wrap):
    """A short decaying noise burst (a crackle or a drop), around the loop when `wrap`."""
    n = len(buffer)
    for i in range(int(length * RATE)):
        at = start + i
        if at >= n:
            if not wrap:
                break
            at %= n
        buffer[at] += gain * noise.white() * math.exp(-i / (decay * RATE))


def birdsong():
    n = int(2.5 * RATE)
    out = [0.0] * n
    noise = Noise(250)

    def chirp(start, length, f0, f1, gain):
        phase = 0.0
        count = int(length * RATE)
        for i in range(count):
            t = i / count
            f = f0 + (f1 - f0) * t
            phase += 2 * math.pi * f / RATE
            env = math.sin(math.pi * t) ** 2
            out[int(start * RATE) + i] += gain * env * math.sin(phase + 0.4 * math.sin(phase * 0.07))

    t = 0.1
    for _ in range(4):  # a call of rising and falling chirps
        chirp(t, 0.09, 2600 + 900 * noise.next(), 4800 + 600 * noise.next(), 1.0)
        chirp(t + 0.11, 0.07, 5000, 3000 + 500 * noise.next(), 0.8)
        t += 0.26
    for k in range(9):  # a trill
        chirp(1.35 + 0.085 * k, 0.06, 3800, 4400 - 40 * k, 0.7)
    chirp(2.2, 0.16, 4200, 2400, 0.9)
    return wav_bytes(out, 9000)


def fire_crackle():
    n = 3 * RATE
    noise = Noise(251)
    rumble = one_pole([noise.white() for _ in range(n)], 0.02)
    out = [0.6 * r for r in rumble]
    for _ in range(70):
        start = int(noise.next() * n)
        add_burst(out, start, 0.012 + 0.02 * noise.next(), 0.15 + 0.6 * noise.next(), noise, 0.004, True)
    return wav_bytes(out, 8000)


def rain():
    n = 3 * RATE
    noise = Noise(252)
    hiss = [noise.white() for _ in range(n)]
    body = one_pole(hiss, 0.35)
    out = [0.5 * h - 0.3 * b for h, b in zip(hiss, body)]  # bright, without the rumble
    for _ in range(160):
        add_burst(out, int(noise.next() * n), 0.01, 0.3 + 0.5 * noise.next(), noise, 0.002, True)
    return wav_bytes(out, 6000)


def water():
    n = 3 * RATE
    noise = Noise(253)
    flow = one_pole([noise.white() for _ in range(n)], 0.08)
    # A slow swell of whole periods around the loop.
    out = [f * (0.7 + 0.3 * math.sin(2 * math.pi * 3 * i / n)) for i, f in enumerate(flow)]
    for _ in range(24):  # bubbles: short rising sines
        start = int(noise.next() * n)
        f0 = 300 + 500 * noise.next()
        count = int((0.03 + 0.04 * noise.next()) * RATE)
        phase = 0.0
        for i in range(count):
            phase += 2 * math.pi * f0 * (1 + 1.5 * i / count) / RATE
            out[(start + i) % n] += 0.25 * math.sin(phase) * math.sin(math.pi * i / count)
    return wav_bytes(out, 7000)


def tone_440():
    return wav_bytes([math.sin(2 * math.pi * 440 * i / RATE) for i in range(RATE)], 8000)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, make in (("birdsong.wav", birdsong), ("fire_crackle.wav", fire_crackle), ("rain.wav", rain),
                       ("water.wav", water), ("tone_440.wav", tone_440)):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(make())


main()
