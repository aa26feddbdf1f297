#!/usr/bin/python3
"""Writes the drawing tests' pictures, whose every pixel is known, and an .rc that embeds them.

Usage: make_test_pictures.py <out-dir>
PNG resources (type PNG) go through GDI+, BMP resources (type BITMAP) through LoadImage.
"""
import os
import struct
import sys
import zlib


def png(width, height, pixel, alpha):
    """pixel(x, y) -> (r, g, b, a); written as 8-bit RGBA, or RGB when alpha is False."""
    rows = b""
    for y in range(height):
        row = b"\0"
        for x in range(width):
            r, g, b, a = pixel(x, y)
            row += bytes((r, g, b, a) if alpha else (r, g, b))
        rows += row

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


def bmp(width, height, pixel, bits):
    """A bottom-up BI_RGB bitmap of 24 or 32 bits; pixel(x, y) -> (r, g, b, a)."""
    stride = (width * bits // 8 + 3) & ~3
    rows = b""
    for y in reversed(range(height)):
        row = b""
        for x in range(width):
            r, g, b, a = pixel(x, y)
            row += bytes((b, g, r, a) if bits == 32 else (b, g, r))
        rows += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(rows), 0, 0, 14 + len(info)) + info + rows


PICTURES = {
    # Three-part test: 4 frames of 5 columns; red tells the column, green the row.
    31001: ("columns.png", png(20, 23, lambda x, y: (10 * x + 5, 7 * y, 77, 255), False)),
    # Nine-part test: 30 x 24 in one frame; red tells the column, green the row.
    31002: ("grid.png", png(30, 24, lambda x, y: (8 * x, 10 * y, 150, 255), True)),
    # A half-transparent orange pixel and an opaque blue one.
    31003: ("half.png", png(2, 1, lambda x, y: (200, 100, 0, 128) if x == 0 else (0, 0, 255, 255), True)),
    # Four frames stacked top to bottom, 12 x 20 each: red tells the frame, green the row in it.
    31004: ("stack.png", png(12, 80, lambda x, y: (y // 20 * 60 + 10, y % 20 * 12, x * 20, 255), True)),
    # White at alpha 128, to be pre-multiplied when loaded.
    31005: ("half-white.bmp", bmp(2, 2, lambda x, y: (255, 255, 255, 128), 32)),
    # Opaque, two frames of 3 x 4 side by side: red tells the column, green the row.
    31006: ("opaque.bmp", bmp(6, 4, lambda x, y: (x * 40, y * 60, 90, 255), 24)),
}

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
lines = []
for number, (name, data) in PICTURES.items():
    path = os.path.join(out, name)
    with open(path, "wb") as f:
        f.write(data)
    lines.append(f'{number} {"PNG" if name.endswith(".png") else "BITMAP"} "{path}"')
with open(os.path.join(out, "test_pictures.rc"), "w") as f:
    f.write("\n".join(lines) + "\n")
