#!/usr/bin/env python3
"""Draws Ledgrin's icon (a putting green with a flag and a ball) and writes Ledgrin.ico.

Sizes 16, 32 and 48 pixels, 32-bit colour with alpha, drawn with 4 x 4 supersampling.
Deterministic: running it again gives the same bytes. Usage: make_icon.py [OUT.ico]
"""
import struct
import sys

GREEN = (46, 139, 62)
DARK_GREEN = (28, 94, 40)
WHITE = (250, 250, 250)
RED = (214, 48, 49)
POLE = (235, 235, 225)
CUP = (20, 40, 20)


def shade(x, y):
    """Colour and coverage of the point (x, y) in unit coordinates (0..1, y down)."""
    # Ball in front of everything.
    if (x - 0.30) ** 2 + (y - 0.70) ** 2 < 0.115 ** 2:
        return WHITE, 1.0
    # Flag pennant and pole.
    if 0.56 <= x <= 0.86 and abs(y - 0.26) <= 0.12 * (0.86 - x) / 0.30:
        return RED, 1.0
    if 0.52 <= x <= 0.57 and 0.10 <= y <= 0.66:
        return POLE, 1.0
    # Cup at the foot of the pole.
    if ((x - 0.545) / 0.10) ** 2 + ((y - 0.67) / 0.04) ** 2 < 1.0:
        return CUP, 1.0
    # The green: a disc with a darker rim.
    d2 = (x - 0.5) ** 2 + (y - 0.5) ** 2
    if d2 < 0.40 ** 2:
        return GREEN, 1.0
    if d2 < 0.47 ** 2:
        return DARK_GREEN, 1.0
    return (0, 0, 0), 0.0


def render(size, samples=4):
    """Rows of (b, g, r, a) from top to bottom."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            cover = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    colour, a = shade(x, y)
                    cover += a
                    for i in range(3):
                        acc[i] += colour[i] * a
            n = samples * samples
            alpha = cover / n
            rgb = [int(round(c / cover)) if cover else 0 for c in acc]
            row.append((rgb[2], rgb[1], rgb[0], int(round(alpha * 255))))
        rows.append(row)
    return rows


def icon_image(size):
    """A BITMAPINFOHEADER, the colour rows bottom-up and the AND mask."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "Ledgrin.ico"
    sizes = (16, 32, 48)
    images = [icon_image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
