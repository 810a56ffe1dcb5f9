#!/usr/bin/env python3
"""Writes stakko.ico: one 32x32 image in 16 colours, a bevelled hexagon cell
drawn the way the game draws a filled cell (upper and lower bevel halves, an
inner face towards the top left, six bevel edges, black outlines).

Usage: make-icon.py [OUTPUT]   (default: stakko.ico beside this script)
"""
import os
import struct
import sys

SIZE = 32

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
OUTLINE, LOWER, FACE, UPPER = 0, 4, 12, 14  # black, navy, blue, aqua

TRANSPARENT = -1


def hexagon(px, py, cw, ch):
    """Flat top and bottom, points left and right, clockwise from top left."""
    return [
        (px + cw // 4, py), (px + 3 * cw // 4, py), (px + cw, py + ch // 2),
        (px + 3 * cw // 4, py + ch), (px + cw // 4, py + ch), (px, py + ch // 2),
    ]


def inside(points, x, y):
    """Even-odd test of the pixel centre (x, y) against a polygon whose
    vertices lie on pixel centres."""
    result = False
    n = len(points)
    for i in range(n):
        (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            cross = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < cross:
                result = not result
    return result


def line(pixels, a, b, colour):
    (x0, y0), (x1, y1) = a, b
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        pixels[y0][x0] = colour
        if (x0, y0) == (x1, y1):
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def polygon(pixels, points, colour):
    """Filled and outlined, as GDI's Polygon with a 1-pixel pen."""
    for y in range(SIZE):
        for x in range(SIZE):
            if inside(points, x + 0.001, y + 0.001):
                pixels[y][x] = colour
    for i, p in enumerate(points):
        line(pixels, p, points[(i + 1) % len(points)], OUTLINE)


def draw():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]
    px, py, cw, ch = 0, 2, 31, 27
    v = hexagon(px, py, cw, ch)
    q = hexagon(px + cw // 10, py + ch // 10, 5 * cw // 7, 5 * ch // 7)
    polygon(pixels, [v[5], v[0], v[1], v[2]], UPPER)
    polygon(pixels, [v[2], v[3], v[4], v[5]], LOWER)
    polygon(pixels, q, FACE)
    for k in range(6):
        line(pixels, v[k], q[k], OUTLINE)
    return pixels


def ico_bytes(pixels):
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up, as in every DIB
        for x in range(0, SIZE, 2):
            hi, lo = (max(c, 0) for c in row[x:x + 2])
            xor.append(hi << 4 | lo)
        bits = 0
        for c in row:
            bits = bits << 1 | (c == TRANSPARENT)
        mask += bits.to_bytes(SIZE // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = header + colours + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "stakko.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
