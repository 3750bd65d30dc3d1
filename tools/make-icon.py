#!/usr/bin/env python3
"""Draws Gantrel's icon (a ping dot with signal arcs on a blue tile) as a 16-colour .ico
holding a 32 x 32 and a 16 x 16 image. Usage: make-icon.py OUT.ico"""
import math
import struct
import sys

# The classic 16-colour palette (B, G, R, 0).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
NAVY, BLUE, CYAN, WHITE, YELLOW, GREY = 4, 12, 14, 15, 11, 8


def pixel(x, y, n):
    """Colour index at pixel (x, y) of an n x n image, or None for transparent."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    r = 0.12
    # Rounded tile.
    dx, dy = max(r - u, 0, u - (1 - r)), max(r - v, 0, v - (1 - r))
    if dx * dx + dy * dy > r * r:
        return None
    if u < 0.07 or v < 0.07 or u > 0.93 or v > 0.93:
        return NAVY
    # Source dot at the lower left; arcs towards the upper right.
    cx, cy = 0.24, 0.76
    d = math.hypot(u - cx, v - cy)
    ang = math.atan2(cy - v, u - cx)
    if d < 0.11:
        return YELLOW
    if -0.15 < ang < math.pi / 2 + 0.15:
        for ring in (0.32, 0.50, 0.68):
            if abs(d - ring) < 0.055:
                return WHITE
    return BLUE


def image(n):
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_row = ((n * 4 + 31) // 32) * 4
    and_row = ((n + 31) // 32) * 4
    xor, mask = b'', b''
    for y in reversed(range(n)):
        row = bytearray(xor_row)
        mrow = bytearray(and_row)
        for x in range(n):
            c = pixel(x, y, n)
            if c is None:
                mrow[x // 8] |= 0x80 >> (x % 8)
                c = 0
            row[x // 2] |= c << (4 if x % 2 == 0 else 0)
        xor += bytes(row)
        mask += bytes(mrow)
    return header + pal + xor + mask


def main():
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
