"""Deterministic 8-bit PNG writing and the small drawing helpers the picture generators share.

Pictures are rows of pixel tuples: (grey,), (r, g, b) or (r, g, b, a), each 0..255. Every PNG is
written at 8 bits per channel (Direct3D's texture loaders under Wine reject 16-bit PNGs), without
timestamps or other chunks, so the same generator always writes the same bytes.
"""
import math
import struct
import zlib

_COLOUR_TYPES = {1: 0, 3: 2, 4: 6}


def _chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(width, height, channels, rows):
    """rows: a sequence of height bytes-like rows of width * channels values."""
    raw = bytearray()
    for row in rows:
        if len(row) != width * channels:
            raise ValueError('row has %d values, expected %d' % (len(row), width * channels))
        raw.append(0)  # filter type None
        raw.extend(row)
    header = struct.pack('>IIBBBBB', width, height, 8, _COLOUR_TYPES[channels], 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + _chunk(b'IHDR', header) +
            _chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + _chunk(b'IEND', b''))


def write_png(path, width, height, channels, pixel):
    """pixel(x, y) returns a tuple of `channels` floats or ints; values are clamped to 0..255."""
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            for v in pixel(x, y):
                row.append(clamp_byte(v))
        rows.append(row)
    with open(path, 'wb') as f:
        f.write(png_bytes(width, height, channels, rows))


def clamp_byte(v):
    v = int(round(v))
    return 0 if v < 0 else 255 if v > 255 else v


def lattice(n, seed=0):
    """A value in -1..1 for an integer lattice point (32-bit integer hash, stable across runs)."""
    n = (n * 374761393 + seed * 668265263) & 0xFFFFFFFF
    n = ((n ^ (n >> 13)) * 1274126177) & 0xFFFFFFFF
    n ^= n >> 16
    return (n & 0xFFFF) / 32767.5 - 1.0


def value_noise_2d(x, y, period, seed=0):
    """Smooth value noise that tiles with the given integer period in both directions."""
    xi, yi = math.floor(x), math.floor(y)
    fx, fy = x - xi, y - yi
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)

    def at(i, j):
        return lattice((i % period) + (j % period) * 65536, seed)
    top = at(xi, yi) * (1 - sx) + at(xi + 1, yi) * sx
    bottom = at(xi, yi + 1) * (1 - sx) + at(xi + 1, yi + 1) * sx
    return top * (1 - sy) + bottom * sy


def fractal_noise_2d(x, y, period, octaves, seed=0):
    total, amplitude, norm = 0.0, 1.0, 0.0
    for o in range(octaves):
        f = 1 << o
        total += amplitude * value_noise_2d(x * f, y * f, period * f, seed + o)
        norm += amplitude
        amplitude *= 0.5
    return total / norm


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def smoothstep(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3 - 2 * t)
