#!/usr/bin/env python3
"""Draws the window's icons and writes them as .ico files into the folder given.

  zentrova.ico  the program: two arrows between an orange and a blue half, the colours of
                the window's panels
  ok.ico        the OK glyph of the buttons: a green tick
  close.ico     the close glyph: a red cross

Each file holds the sizes the window asks for at 96 to 288 DPI, as 32-bit images with an
alpha channel. Shapes are sampled 4 x 4 times per pixel for smooth edges. Standard library
only, so that the build needs nothing more.
"""

import math
import struct
import sys
from pathlib import Path

SAMPLES = 4


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def inside_polygon(px, py, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def inside_rounded_square(px, py, margin, radius):
    low, high = margin, 1.0 - margin
    cx = min(max(px, low + radius), high - radius)
    cy = min(max(py, low + radius), high - radius)
    return low <= px <= high and low <= py <= high and math.hypot(px - cx, py - cy) <= radius


def stroke(points, width):
    """A polyline of the given width (in units of the icon's side)."""
    def test(px, py):
        return any(segment_distance(px, py, *points[i], *points[i + 1]) <= width / 2
                   for i in range(len(points) - 1))
    return test


def arrow(y, pointing_right):
    """A horizontal arrow centred on height y, as a polygon."""
    shaft, head, tip, back = 0.055, 0.13, 0.82, 0.18
    neck = 0.58
    points = [(back, y - shaft), (neck, y - shaft), (neck, y - head), (tip, y),
              (neck, y + head), (neck, y + shaft), (back, y + shaft)]
    if not pointing_right:
        points = [(1.0 - x, py) for x, py in points]
    return lambda px, py: inside_polygon(px, py, points)


def program_layers():
    orange, blue = (232, 160, 40), (70, 110, 220)
    white = (255, 255, 255)
    square = lambda px, py: inside_rounded_square(px, py, 0.04, 0.16)
    upper = lambda px, py: square(px, py) and py < 0.5
    lower = lambda px, py: square(px, py) and py >= 0.5
    return [(upper, orange), (lower, blue), (arrow(0.29, True), white),
            (arrow(0.71, False), white)]


def ok_layers():
    tick = [(0.16, 0.55), (0.40, 0.78), (0.86, 0.24)]
    return [(stroke(tick, 0.24), (20, 90, 20)), (stroke(tick, 0.15), (40, 170, 40))]


def close_layers():
    cross_a = [(0.22, 0.22), (0.78, 0.78)]
    cross_b = [(0.78, 0.22), (0.22, 0.78)]
    dark, red = (120, 10, 10), (210, 40, 40)
    return [(stroke(cross_a, 0.24), dark), (stroke(cross_b, 0.24), dark),
            (stroke(cross_a, 0.15), red), (stroke(cross_b, 0.15), red)]


def render(layers, size):
    """Rows of (r, g, b, a) from top to bottom; later layers lie over earlier ones."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = (x + (sx + 0.5) / SAMPLES) / size
                    py = (y + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for test, fill in layers:
                        if test(px, py):
                            colour = fill
                    if colour is not None:
                        r, g, b, a = r + colour[0], g + colour[1], b + colour[2], a + 1
            n = SAMPLES * SAMPLES
            if a:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def ico_image(rows):
    """One image of an .ico: a 32-bit DIB, bottom row first, and its AND mask."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def write_ico(path, layers, sizes):
    images = [ico_image(render(layers, size)) for size in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    path.write_bytes(out + b''.join(images))


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    write_ico(folder / 'zentrova.ico', program_layers(), [16, 20, 24, 32, 40, 48, 64])
    glyph_sizes = [16, 20, 24, 32, 40, 48]
    write_ico(folder / 'ok.ico', ok_layers(), glyph_sizes)
    write_ico(folder / 'close.ico', close_layers(), glyph_sizes)


if __name__ == '__main__':
    main()
