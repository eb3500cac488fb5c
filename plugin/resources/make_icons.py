#!/usr/bin/env python3
"""Draws the bundle's icons as PNG files next to this script.

The artwork is plain geometry (discs, a triangle, bars) rendered with 4x4 supersampling, so
it needs nothing beyond the standard library. Run it again after changing a shape and commit
the PNGs; the build only copies them.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SUB = 4


def png(path, width, height, pixels):
    """Writes straight RGBA pixels (rows of (r, g, b, a) tuples) as a PNG file."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def render(size, layers):
    """Layers are (inside(x, y) -> bool, colour) painted in order over transparency."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(SUB):
                for sx in range(SUB):
                    x = px + (sx + 0.5) / SUB
                    y = py + (sy + 0.5) / SUB
                    c = [0.0, 0.0, 0.0, 0.0]
                    for inside, (r, g, b) in layers:
                        if inside(x, y):
                            c = [r / 255.0, g / 255.0, b / 255.0, 1.0]
                    for i in range(4):
                        acc[i] += c[i] * (c[3] if i < 3 else 1.0)
            n = SUB * SUB
            a = acc[3] / n
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[i] / n / a * 255) for i in range(3)) + (round(a * 255),))
        rows.append(row)
    return rows


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def bar(x0, y0, x1, y1, half):
    """A thick line segment with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half * half

    return inside


def triangle(ax, ay, bx, by, cx, cy):
    def side(x, y, x0, y0, x1, y1):
        return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)

    def inside(x, y):
        d1 = side(x, y, ax, ay, bx, by)
        d2 = side(x, y, bx, by, cx, cy)
        d3 = side(x, y, cx, cy, ax, ay)
        return (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0)

    return inside


def rounded_triangle(size):
    # A slightly inset triangle drawn as the union of the triangle and discs at its corners.
    r = size * 0.08
    top = (size / 2, size * 0.06 + r)
    left = (size * 0.04 + r, size * 0.92 - r)
    right = (size * 0.96 - r, size * 0.92 - r)
    tri = triangle(*top, *left, *right)
    corners = [disc(*p, r) for p in (top, left, right)]
    edges = [bar(*top, *left, r), bar(*left, *right, r), bar(*right, *top, r)]
    return lambda x, y: tri(x, y) or any(c(x, y) for c in corners) or any(e(x, y) for e in edges)


WHITE = (255, 255, 255)
S = 48

icons = {
    # A red disc with a white cross: something went wrong.
    "error_icon": [
        (disc(S / 2, S / 2, S * 0.46), (214, 48, 49)),
        (bar(S * 0.32, S * 0.32, S * 0.68, S * 0.68, S * 0.055), WHITE),
        (bar(S * 0.68, S * 0.32, S * 0.32, S * 0.68, S * 0.055), WHITE),
    ],
    # A blue disc with a white "i": information or a question.
    "note_icon": [
        (disc(S / 2, S / 2, S * 0.46), (10, 106, 222)),
        (disc(S / 2, S * 0.29, S * 0.065), WHITE),
        (bar(S / 2, S * 0.45, S / 2, S * 0.74, S * 0.055), WHITE),
    ],
    # An amber triangle with a dark "!": a warning.
    "caution_icon": [
        (rounded_triangle(S), (245, 176, 20)),
        (bar(S / 2, S * 0.38, S / 2, S * 0.62, S * 0.05), (40, 40, 40)),
        (disc(S / 2, S * 0.74, S * 0.055), (40, 40, 40)),
    ],
}

# The pop-up menu's arrow: a grey chevron pointing down, 20 x 20 points.
M = 20
icons_small = {
    "MenuIcon": [
        (bar(M * 0.25, M * 0.38, M * 0.5, M * 0.63, M * 0.08), (120, 120, 128)),
        (bar(M * 0.5, M * 0.63, M * 0.75, M * 0.38, M * 0.08), (120, 120, 128)),
    ],
}

for name, layers in icons.items():
    png(os.path.join(HERE, name + ".png"), S, S, render(S, layers))
for name, layers in icons_small.items():
    png(os.path.join(HERE, name + ".png"), M, M, render(M, layers))
