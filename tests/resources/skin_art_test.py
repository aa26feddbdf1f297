#!/usr/bin/python3
"""Checks the skin pictures that the build rendered against the program's table of PNG
resources: every resource is there, listed once in skin.rc, with the exact size, colour type,
bit depth and frame layout that the skin table gives it, and no strip of states or steps repeats
a frame. The PNG files are read here byte by byte; nothing of the generator is trusted.

Usage: skin_art_test.py <build>/generated
"""
import os
import re
import struct
import sys
import unittest
import zlib

GENERATED = None

RGB, RGBA = 2, 6
SIDE, STACKED = "side by side", "top to bottom"

# number: (image width, image height, colour type, frames, layout, frame width, frame height)
# These are the sizes of the resources as the program's skin cuts them; 10021 is carried but not
# cut into frames.
TABLE = {
    10001: (900, 600, RGB, 1, SIDE, 900, 600),
    10002: (180, 15, RGBA, 12, SIDE, 15, 15),
    10003: (120, 15, RGBA, 8, SIDE, 15, 15),
    10004: (20, 23, RGB, 4, SIDE, 5, 23),
    10005: (14, 4, RGBA, 2, SIDE, 7, 4),
    10006: (8, 30, RGBA, 4, SIDE, 2, 30),
    10007: (12, 80, RGBA, 4, STACKED, 12, 20),
    10008: (12, 68, RGBA, 4, STACKED, 12, 17),
    10009: (12, 68, RGBA, 4, STACKED, 12, 17),
    10010: (12, 120, RGBA, 4, STACKED, 12, 30),
    10011: (6, 36, RGBA, 4, STACKED, 6, 9),
    10012: (104, 22, RGBA, 4, SIDE, 26, 22),
    10013: (288, 28, RGBA, 4, SIDE, 72, 28),
    10014: (160, 83, RGBA, 2, SIDE, 80, 83),
    10015: (56, 56, RGBA, 1, SIDE, 56, 56),
    10016: (56, 56, RGBA, 1, SIDE, 56, 56),
    10017: (56, 56, RGBA, 1, SIDE, 56, 56),
    10018: (48, 48, RGBA, 1, SIDE, 48, 48),
    10019: (240, 30, RGBA, 8, SIDE, 30, 30),
    10020: (74, 74, RGBA, 1, SIDE, 74, 74),
    10021: (400, 75, RGBA, 1, SIDE, 400, 75),
    10022: (534, 69, RGBA, 3, SIDE, 178, 69),
    10023: (104, 22, RGBA, 4, SIDE, 26, 22),
    10024: (104, 22, RGBA, 4, SIDE, 26, 22),
    10025: (30, 10, RGBA, 2, SIDE, 15, 10),
    10026: (254, 110, RGBA, 1, SIDE, 254, 110),
    10027: (254, 110, RGBA, 1, SIDE, 254, 110),
    10028: (254, 110, RGBA, 1, SIDE, 254, 110),
    10029: (67, 64, RGBA, 1, SIDE, 67, 64),
    10030: (598, 238, RGBA, 1, SIDE, 598, 238),
    10031: (111, 96, RGBA, 1, SIDE, 111, 96),
    10032: (560, 70, RGBA, 8, SIDE, 70, 70),
    10033: (111, 96, RGBA, 1, SIDE, 111, 96),
    10034: (33, 33, RGBA, 1, SIDE, 33, 33),
}

# Animations loop: their last frame is followed by the first.
LOOPING = {10003, 10019, 10032}


class Png:
    """A decoded 8-bit, non-interlaced PNG: header fields and rows of raw pixel bytes."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError("not a PNG signature")
        chunks, at = [], 8
        while at < len(data):
            length, kind = struct.unpack(">I4s", data[at:at + 8])
            body = data[at + 8:at + 8 + length]
            (crc,) = struct.unpack(">I", data[at + 8 + length:at + 12 + length])
            if zlib.crc32(kind + body) != crc or len(body) != length:
                raise ValueError(f"chunk {kind!r} is damaged")
            chunks.append((kind, body))
            at += 12 + length
        if not chunks or chunks[0][0] != b"IHDR" or chunks[-1][0] != b"IEND":
            raise ValueError("IHDR must come first and IEND last")
        (self.width, self.height, self.depth, self.colour_type, self.compression,
         self.filter_method, self.interlace) = struct.unpack(">IIBBBBB", chunks[0][1])
        self.channels = {RGB: 3, RGBA: 4}.get(self.colour_type, 0)
        self.rows = []
        if self.depth == 8 and self.channels and self.interlace == 0:
            self.rows = self._unfilter(zlib.decompress(b"".join(b for k, b in chunks if k == b"IDAT")))

    def _unfilter(self, raw):
        bpp, stride = self.channels, self.width * self.channels
        if len(raw) != self.height * (stride + 1):
            raise ValueError("image data has the wrong length")
        rows, above = [], bytearray(stride)
        for y in range(self.height):
            kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                corner = above[i - bpp] if i >= bpp else 0
                if kind == 1:
                    line[i] = (line[i] + left) & 255
                elif kind == 2:
                    line[i] = (line[i] + above[i]) & 255
                elif kind == 3:
                    line[i] = (line[i] + (left + above[i]) // 2) & 255
                elif kind == 4:
                    p = left + above[i] - corner
                    pa, pb, pc = abs(p - left), abs(p - above[i]), abs(p - corner)
                    nearest = left if pa <= pb and pa <= pc else above[i] if pb <= pc else corner
                    line[i] = (line[i] + nearest) & 255
                elif kind != 0:
                    raise ValueError(f"row {y} has unknown filter {kind}")
            rows.append(bytes(line))
            above = line
        return rows

    def block(self, x, y, w, h):
        """The pixel bytes of a rectangle, row after row."""
        c = self.channels
        return b"".join(self.rows[row][x * c:(x + w) * c] for row in range(y, y + h))


def frames_of(png, number):
    _, _, _, count, layout, fw, fh = TABLE[number]
    if layout == STACKED:
        return [png.block(0, n * fh, fw, fh) for n in range(count)]
    return [png.block(n * fw, 0, fw, fh) for n in range(count)]


class SkinArt(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = os.path.join(GENERATED, "skin")
        names = sorted(os.listdir(cls.folder)) if os.path.isdir(cls.folder) else []
        cls.files = {}
        for name in names:
            match = re.fullmatch(r"(\d+)-[a-z0-9-]+\.png", name)
            if match:
                cls.files.setdefault(int(match.group(1)), []).append(os.path.join(cls.folder, name))
        cls.pngs = {}

    def png(self, number):
        if number not in self.pngs:
            paths = self.files.get(number, [])
            self.assertEqual(len(paths), 1, f"{number}: want one picture, found {paths}")
            self.pngs[number] = Png(paths[0])
        return self.pngs[number]

    def test_every_resource_is_rendered_once_and_nothing_else(self):
        self.assertEqual(sorted(self.files), sorted(TABLE))
        for number, paths in self.files.items():
            self.assertEqual(len(paths), 1, f"{number}: {paths}")

    def test_skin_rc_lists_exactly_the_rendered_pictures(self):
        with open(os.path.join(GENERATED, "skin.rc"), encoding="utf-8") as f:
            lines = [line.strip() for line in f if line.strip() and not line.strip().startswith("//")]
        listed = {}
        for line in lines:
            match = re.fullmatch(r'(\d+)\s+PNG\s+"([^"]+)"', line)
            self.assertIsNotNone(match, f"not a PNG resource line: {line!r}")
            number = int(match.group(1))
            self.assertNotIn(number, listed, f"{number} listed twice")
            listed[number] = match.group(2)
        self.assertEqual(sorted(listed), sorted(TABLE))
        for number, path in listed.items():
            self.assertEqual(os.path.realpath(path), os.path.realpath(self.files[number][0]))

    def test_size_colour_type_and_depth(self):
        for number, (width, height, colour_type, *_rest) in TABLE.items():
            with self.subTest(resource=number):
                png = self.png(number)
                self.assertEqual((png.width, png.height), (width, height))
                self.assertEqual(png.colour_type, colour_type)
                self.assertEqual(png.depth, 8)
                self.assertEqual((png.compression, png.filter_method, png.interlace), (0, 0, 0))
                self.assertEqual(len(png.rows), height)

    def test_frames_tile_the_image(self):
        for number, (width, height, _, count, layout, fw, fh) in TABLE.items():
            with self.subTest(resource=number):
                png = self.png(number)
                if layout == STACKED:
                    self.assertEqual((fw, fh * count), (png.width, png.height))
                else:
                    self.assertEqual((fw * count, fh), (png.width, png.height))

    def test_no_frame_is_empty(self):
        for number in TABLE:
            with self.subTest(resource=number):
                png = self.png(number)
                for n, frame in enumerate(frames_of(png, number)):
                    if png.colour_type == RGBA:
                        self.assertTrue(any(frame[3::4]), f"frame {n} is fully transparent")
                    else:
                        self.assertGreater(len(set(frame[i:i + 3] for i in range(0, len(frame), 3))), 1,
                                           f"frame {n} is one flat colour")

    def test_each_frame_differs_from_its_neighbours(self):
        for number, (_, _, _, count, *_rest) in TABLE.items():
            if count == 1:
                continue
            with self.subTest(resource=number):
                frames = frames_of(self.png(number), number)
                pairs = list(zip(range(count - 1), range(1, count)))
                if number in LOOPING:
                    pairs.append((count - 1, 0))
                for a, b in pairs:
                    self.assertTrue(frames[a] != frames[b], f"frames {a} and {b} are the same")

    def test_panel_is_opaque(self):
        # The device picker draws the panel's frames as its rows with the alpha flag cleared, so a
        # see-through pixel would show its pre-multiplied colour there.
        png = self.png(10022)
        alpha = b"".join(png.rows)[3::4]
        self.assertEqual(alpha.count(255), len(alpha))

    def test_window_background_stretches_cleanly(self):
        # Nine-part drawing stretches the columns 30 to 335 of each row across a wider window, so
        # within them every row must be one colour.
        png = self.png(10001)
        for y, row in enumerate(png.rows):
            middle = row[30 * 3:336 * 3]
            self.assertTrue(middle == middle[:3] * 306, f"row {y} changes between x 30 and 335")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    GENERATED = sys.argv.pop(1)
    unittest.main(verbosity=2)
