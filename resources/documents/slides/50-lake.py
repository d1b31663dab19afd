#!/usr/bin/env python3
"""Draws the lake slide's bump map: lake_waves.dds, 256 x 256 signed du, dv (D3DFMT_V8U8) that
tiles, the slopes of a few crossing swells. Run as: 50-lake.py <folder>."""
import math
import os
import struct
import sys

SIZE = 256
# (waves across, waves down, height, phase) of each swell; whole numbers of waves so that it tiles.
SWELLS = [(3, 7, 1.0, 0.3), (-5, 4, 0.6, 1.7), (9, 2, 0.35, 2.9), (2, -11, 0.25, 0.8)]


def slope(x, y):
    du = dv = 0.0
    for kx, ky, height, phase in SWELLS:
        angle = 2.0 * math.pi * (kx * x + ky * y) / SIZE + phase
        c = math.cos(angle) * height
        du += c * kx
        dv += c * ky
    return du, dv


def signed_byte(value):
    return max(-127, min(127, int(round(value)))) & 0xFF


def dds_v8u8(width, height, texel):
    header = struct.pack('<4s7I44x', b'DDS ', 124, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000, height, width, width * 2, 0, 1)
    pixel_format = struct.pack('<8I', 32, 0x80000, 0, 16, 0x00FF, 0xFF00, 0, 0)
    caps = struct.pack('<5I', 0x1000, 0, 0, 0, 0)
    body = bytearray()
    for y in range(height):
        for x in range(width):
            du, dv = texel(x, y)
            body += bytes((signed_byte(du), signed_byte(dv)))
    return header + pixel_format + caps + bytes(body)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    peak = max(max(abs(c) for c in slope(x, y)) for x in range(0, SIZE, 4) for y in range(0, SIZE, 4))
    scale = 120.0 / peak
    data = dds_v8u8(SIZE, SIZE, lambda x, y: tuple(c * scale for c in slope(x, y)))
    with open(os.path.join(sys.argv[1], 'lake_waves.dds'), 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
