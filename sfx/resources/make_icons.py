#!/usr/bin/env python3
"""Draws the stub's three window icons and writes them as .ico files (32x32 and 16x16, 32-bit
colour with alpha), with no tool beyond Python itself:

  normal.ico  (icon 108)  a blue package with a white arrow pointing into it
  choose.ico  (icon 110)  a yellow folder with a blue arrow: pick another place
  error.ico   (icon 111)  a red disc with a white cross

Usage: make_icons.py OUTPUT_DIRECTORY"""
import math
import os
import struct
import sys

SUPERSAMPLE = 4


def inside_polygon(x, y, points):
    hit = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def render(shapes, size):
    """shapes: (test(x, y) on a 0..1 square, (r, g, b)) drawn in order; returns RGBA rows."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) / size
                    y = (py + (sy + 0.5) / SUPERSAMPLE) / size
                    colour = None
                    for test, rgb in shapes:
                        if test(x, y):
                            colour = rgb
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = SUPERSAMPLE * SUPERSAMPLE
            if acc[3]:
                row.append((int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]),
                            int(255 * acc[3] / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bmp_image(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = bytes(mask_row_bytes * size)  # the alpha channel decides; the AND mask is all zero
    return header + pixels + mask


def write_ico(path, shapes):
    images = [bmp_image(render(shapes, s)) for s in (32, 16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    return lambda x, y: inside_polygon(x, y, points)


def bar(x0, y0, x1, y1, width):
    """A thick line from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)

    def test(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (length * length)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2

    return test


DARK = (20, 40, 90)
BLUE = (40, 110, 210)
LIGHT_BLUE = (110, 170, 240)
WHITE = (255, 255, 255)
RED = (200, 30, 30)
DARK_RED = (120, 10, 10)
YELLOW = (245, 200, 70)
DARK_YELLOW = (170, 120, 20)

NORMAL = [
    (rect(0.12, 0.38, 0.88, 0.94), DARK),
    (rect(0.16, 0.42, 0.84, 0.90), BLUE),
    (polygon([(0.12, 0.38), (0.28, 0.22), (0.72, 0.22), (0.88, 0.38)]), LIGHT_BLUE),
    (rect(0.42, 0.04, 0.58, 0.52), WHITE),
    (polygon([(0.26, 0.46), (0.74, 0.46), (0.50, 0.74)]), WHITE),
]

CHOOSE = [
    (polygon([(0.06, 0.24), (0.36, 0.24), (0.44, 0.32), (0.94, 0.32), (0.94, 0.88), (0.06, 0.88)]),
     DARK_YELLOW),
    (polygon([(0.10, 0.28), (0.34, 0.28), (0.42, 0.36), (0.90, 0.36), (0.90, 0.84), (0.10, 0.84)]),
     YELLOW),
    (bar(0.30, 0.60, 0.66, 0.60, 0.12), BLUE),
    (polygon([(0.60, 0.44), (0.80, 0.60), (0.60, 0.76)]), BLUE),
]

ERROR = [
    (disc(0.5, 0.5, 0.46), DARK_RED),
    (disc(0.5, 0.5, 0.42), RED),
    (bar(0.32, 0.32, 0.68, 0.68, 0.13), WHITE),
    (bar(0.68, 0.32, 0.32, 0.68, 0.13), WHITE),
]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, "normal.ico"), NORMAL)
    write_ico(os.path.join(out, "choose.ico"), CHOOSE)
    write_ico(os.path.join(out, "error.ico"), ERROR)


if __name__ == "__main__":
    main()
