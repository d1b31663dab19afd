#!/usr/bin/env python3
"""The 3D objects' meshes and pictures, drawn into the folder given as the only argument:
  butterfly_body.x    "DDS" 68: a closed tube about 80 units along z, the head at +z
  butterfly_wing.x    "DDS" 69: one wing in the xz plane, hinged on the z axis, span 120 along +x
  clock_face.png      "DDS" 71: a round dial with hour marks, transparent outside the circle
  clock_hands.png     "DDS" 72: a hand, uniform across u, dark along v with a lighter tip at v = 0
  butterfly_wing.png  "DDS" 202: the wing pattern (u from the hinge to the tip, v front to back)
  leaf.x              "DDS" 204: a small curved leaf, 50 units across, in the xy plane
  leaf.png            "DDS" 205: an autumn leaf, transparent around it
Text X files and 8-bit PNGs, the same bytes on every run.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'pictures'))
from png_writer import write_png, mix, smoothstep, fractal_noise_2d  # noqa: E402


def x_file(name, vertices, uvs, faces, comment):
    """A text X file of one mesh with texture coordinates and one white material."""
    def num(v):
        return '%.4f' % (v + 0.0)
    out = ['xof 0303txt 0032', '', '// ' + comment, 'Mesh %s {' % name, '  %d;' % len(vertices)]
    for i, (x, y, z) in enumerate(vertices):
        out.append('  %s; %s; %s;%s' % (num(x), num(y), num(z), ';' if i == len(vertices) - 1 else ','))
    out.append('  %d;' % len(faces))
    for i, f in enumerate(faces):
        out.append('  3; %d, %d, %d;%s' % (f[0], f[1], f[2], ';' if i == len(faces) - 1 else ','))
    out += ['', '  MeshTextureCoords {', '    %d;' % len(uvs)]
    for i, (u, v) in enumerate(uvs):
        out.append('    %s; %s;%s' % (num(u), num(v), ';' if i == len(uvs) - 1 else ','))
    out += ['  }', '', '  MeshMaterialList {', '    1;', '    %d;' % len(faces)]
    out += ['    0%s' % (';;' if i == len(faces) - 1 else ',') for i in range(len(faces))]
    out += ['    Material {', '      1.0; 1.0; 1.0; 1.0;;', '      0.0;', '      0.0; 0.0; 0.0;;',
            '      0.0; 0.0; 0.0;;', '    }', '  }', '}', '']
    return '\n'.join(out)


def butterfly_body():
    # Rings along z from the tail (-40) to the head (+40); radius profile: thin tail, thick
    # thorax, a narrow neck and a round head. Closed by one vertex at each end.
    profile = [(-40, 1.5), (-30, 3.5), (-18, 4.5), (-6, 5.0), (4, 6.5), (14, 7.0), (22, 5.0),
               (26, 3.5), (31, 5.5), (36, 5.0), (40, 2.5)]
    sides = 8
    vertices, uvs, faces = [(0.0, 0.0, -41.0)], [(0.5, 1.0)], []
    for j, (z, r) in enumerate(profile):
        for i in range(sides):
            a = 2 * math.pi * i / sides
            vertices.append((r * math.cos(a), r * math.sin(a), float(z)))
            uvs.append((i / sides, 1.0 - j / (len(profile) - 1)))
    vertices.append((0.0, 0.0, 41.0))
    uvs.append((0.5, 0.0))
    last = len(vertices) - 1

    def ring(j, i):
        return 1 + j * sides + i % sides
    for i in range(sides):
        faces.append((0, ring(0, i + 1), ring(0, i)))
        faces.append((last, ring(len(profile) - 1, i), ring(len(profile) - 1, i + 1)))
    for j in range(len(profile) - 1):
        for i in range(sides):
            a, b, c, d = ring(j, i), ring(j, i + 1), ring(j + 1, i), ring(j + 1, i + 1)
            faces += [(a, b, c), (c, b, d)]
    return x_file('ButterflyBody', vertices, uvs, faces,
                  '"DDS" 68: the butterfly body, a closed tube along z; +z is the head.')


SPAN = 120.0


def wing_radius(phi):
    """The wing outline as a distance from the hinge point; phi 0 points forward (+z), pi back."""
    fore = 120.0 * math.exp(-((phi - 1.05) / 0.55) ** 2)
    hind = 82.0 * math.exp(-((phi - 2.35) / 0.5) ** 2)
    return 12.0 + max(fore, hind) + 0.35 * min(fore, hind)


def butterfly_wing():
    steps = 24
    vertices, uvs, faces = [(0.0, 0.0, 0.0)], [], []
    for k in range(steps + 1):
        phi = math.pi * k / steps
        r = wing_radius(phi)
        vertices.append((r * math.sin(phi), 0.0, r * math.cos(phi)))
    zs = [v[2] for v in vertices]
    front, back = max(zs), min(zs)
    for (x, _, z) in vertices:
        uvs.append((x / SPAN, (front - z) / (front - back)))
    for k in range(steps):
        faces.append((0, k + 1, k + 2))
    return x_file('ButterflyWing', vertices, uvs, faces,
                  '"DDS" 69: one butterfly wing in the xz plane, hinged on the z axis, span %d along +x.' % SPAN)


def leaf_mesh():
    # A 5 x 4 grid over 50 x 50 units in the xy plane, bent along its length and across it.
    columns, rows = 4, 5
    vertices, uvs, faces = [], [], []
    for j in range(rows):
        for i in range(columns):
            u, v = i / (columns - 1), j / (rows - 1)
            x, y = (u - 0.5) * 50.0, (0.5 - v) * 50.0
            z = 6.0 * (2 * u - 1) ** 2 + 4.0 * math.sin(math.pi * v)
            vertices.append((x, y, z))
            uvs.append((u, v))
    for j in range(rows - 1):
        for i in range(columns - 1):
            a = j * columns + i
            b, c, d = a + 1, a + columns, a + columns + 1
            faces += [(a, b, c), (c, b, d)]
    return x_file('Leaf', vertices, uvs, faces, '"DDS" 204: a small curved leaf, 50 units across, in the xy plane.')


def clock_face(x, y):
    size = 512
    cx = cy = (size - 1) / 2.0
    dx, dy = x - cx, y - cy
    d = math.hypot(dx, dy) / (size / 2.0)
    alpha = 255 * (1.0 - smoothstep(0.985, 1.0, d))
    colour = mix((250, 244, 226), (226, 214, 186), d * d)
    colour = mix(colour, (60, 48, 36), smoothstep(0.90, 0.93, d))  # the rim
    # Hour marks: 12 bars from 0.72 to 0.86 of the radius, heavier at 12, 3, 6 and 9.
    angle = math.atan2(dx, -dy)  # 0 at 12 o'clock, clockwise
    sector = angle / (2 * math.pi) * 12.0
    nearest = round(sector)
    off = abs(sector - nearest) * (2 * math.pi / 12.0) * d * 256.0  # pixels from the mark's axis
    heavy = nearest % 3 == 0
    width = 9.0 if heavy else 4.5
    inner = 0.66 if heavy else 0.74
    if inner < d < 0.86 and off < width:
        colour = mix(colour, (30, 26, 24), 1.0 - smoothstep(width - 1.5, width, off))
    if d < 0.04:
        colour = (30, 26, 24)
    return (colour[0], colour[1], colour[2], alpha)


def clock_hands(x, y):
    v = y / 255.0
    grey = 20 + 70 * (1.0 - smoothstep(0.0, 0.12, v))
    return (grey, grey, grey + 6, 255)


def wing_picture(x, y):
    u, v = x / 255.0, y / 255.0
    r = math.hypot(u, v - 0.45)
    n = fractal_noise_2d(x, y, 64, 3, seed=7)
    colour = mix((250, 150, 30), (210, 70, 20), smoothstep(0.2, 0.9, r) + 0.15 * n)
    vein = abs(math.sin(math.atan2(v - 0.45, u + 0.05) * 7.0))
    colour = mix(colour, (25, 15, 10), (1.0 - smoothstep(0.0, 0.08, vein)) * smoothstep(0.15, 0.3, r))
    colour = mix(colour, (20, 12, 8), smoothstep(0.78, 0.86, r))  # the dark edge
    spot = min(math.hypot(u - 0.82, v - 0.25), math.hypot(u - 0.7, v - 0.12), math.hypot(u - 0.75, v - 0.75))
    colour = mix(colour, (250, 246, 236), 1.0 - smoothstep(0.035, 0.05, spot))
    return (colour[0], colour[1], colour[2], 255)


def leaf_picture(x, y):
    u, v = x / 127.0 * 2 - 1, y / 127.0 * 2 - 1  # -1..1, v down the leaf (stem at the bottom)
    half_width = 0.62 * math.sin(math.pi * min(max((v + 1.0) / 1.9, 0.0), 1.0)) ** 0.8
    inside = half_width - abs(u)
    alpha = 255 * smoothstep(0.0, 0.04, inside)
    stem = abs(u) < 0.035 and v > 0.7
    if stem:
        alpha = 255
    n = fractal_noise_2d(x, y, 32, 3, seed=11)
    colour = mix((235, 160, 30), (190, 50, 20), smoothstep(-0.6, 0.9, v + 0.4 * n))
    colour = mix(colour, (120, 40, 15), 1.0 - smoothstep(0.0, 0.03, abs(u)))  # the midrib
    return (colour[0], colour[1], colour[2], alpha)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, text in (('butterfly_body.x', butterfly_body()), ('butterfly_wing.x', butterfly_wing()),
                       ('leaf.x', leaf_mesh())):
        with open(os.path.join(out, name), 'w', newline='\n') as f:
            f.write(text)
    write_png(os.path.join(out, 'clock_face.png'), 512, 512, 4, clock_face)
    write_png(os.path.join(out, 'clock_hands.png'), 64, 256, 4, clock_hands)
    write_png(os.path.join(out, 'butterfly_wing.png'), 256, 256, 4, wing_picture)
    write_png(os.path.join(out, 'leaf.png'), 128, 128, 4, leaf_picture)


if __name__ == '__main__':
    main()
