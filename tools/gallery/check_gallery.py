#!/usr/bin/python3
"""Renders a gallery page under Wine and checks the picture against what the gallery says it drew.

Usage: check_gallery.py <build-dir> <gallery.exe> pictures|captions|controls <out.png> <skin-png-dir>

- frame: a skin picture's frame at its natural size over a plain backdrop must equal the source
  PNG blended over that backdrop with pre-multiplied alpha, pixel for pixel (within 2).
- nine: the window background stretched over the page keeps its four corners unscaled.
- three: the list header drawn three-part keeps both ends and repeats its middle column.
- ink: every run of a caption shows pixels of the colour it is drawn in.
- glyph: Chinese characters drawn one per cell are all different from each other and from a
  character that no font has, so none came out as a missing-glyph box.
- tooltip (controls page): where the second picture (<out>-tooltip.png) shows a tooltip, it
  differs from the first, and shows dark text on the tooltip's light ground.
"""
import glob
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
WINERUN = os.path.join(HERE, "..", "wine", "winerun")


class Image:
    """8-bit pixels of a PNG, decoded by ImageMagick."""

    def __init__(self, path, channels):
        kind = "rgba" if channels == 4 else "rgb"
        size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                              stdout=subprocess.PIPE, text=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.channels = channels
        self.data = subprocess.run(["convert", path, "-depth", "8", f"{kind}:-"], check=True,
                                   stdout=subprocess.PIPE).stdout

    def at(self, x, y):
        i = (y * self.width + x) * self.channels
        return tuple(self.data[i:i + self.channels])

    def block(self, x, y, w, h):
        return [self.at(x + i, y + j) for j in range(h) for i in range(w)]


def colorref(value):
    value = int(value)
    return (value & 255, (value >> 8) & 255, (value >> 16) & 255)


def blend(src, backdrop):
    """AlphaBlend of a pre-multiplied source pixel over an opaque one."""
    r, g, b, a = src
    return tuple(c * a // 255 + d * (255 - a) // 255 for c, d in zip((r, g, b), backdrop))


def close(p, q, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(p, q))


def art(art_dir, resource, cache={}):
    if resource not in cache:
        cache[resource] = Image(glob.glob(os.path.join(art_dir, f"{resource}-*.png"))[0], 4)
    return cache[resource]


def check_frame(shot, art_dir, fields, failures):
    resource, frame, x, y, w, h, backdrop = (int(v) for v in fields)
    if x + w > shot.width or y + h > shot.height:
        failures.append(f"picture {resource} frame {frame} lies outside the page")
        return
    source = art(art_dir, resource)
    vertical = source.height // h > 1
    sx, sy = (0, frame * h) if vertical else (frame * w, 0)
    bad = 0
    for j in range(h):
        for i in range(w):
            expected = blend(source.at(sx + i, sy + j), colorref(backdrop))
            if not close(shot.at(x + i, y + j), expected, 2):
                bad += 1
    if bad:
        failures.append(f"picture {resource} frame {frame}: {bad} of {w * h} pixels differ")


def check_nine(shot, art_dir, fields, failures):
    resource, x, y, w, h = (int(v) for v in fields)
    source = art(art_dir, resource)
    left, right, top, bottom = 30, 336, 40, 93  # the window background's fixed borders
    corners = [(0, 0, 0, 0, left, top), (right, 0, w - (source.width - right), 0, source.width - right, top),
               (0, bottom, 0, h - (source.height - bottom), left, source.height - bottom)]
    for sx, sy, dx, dy, cw, ch in corners:
        expected = [p[:3] for p in source.block(sx, sy, cw, ch)]
        if shot.block(x + dx, y + dy, cw, ch) != expected:
            failures.append(f"nine-part corner at source ({sx}, {sy}) is not the picture unscaled")


def check_three(shot, art_dir, fields, failures):
    resource, frame, x, y, w = (int(v) for v in fields)
    source = art(art_dir, resource)
    fw, fh, left, right = 5, 23, 2, 3
    if w < fw:
        return  # narrow targets are covered by the unit tests
    columns = [frame * fw + c for c in range(left)] + [frame * fw + left] * (w - left - (fw - right)) + \
              [frame * fw + c for c in range(right, fw)]
    for i, column in enumerate(columns):
        expected = [source.at(column, j)[:3] for j in range(fh)]
        if [shot.at(x + i, y + j) for j in range(fh)] != expected:
            failures.append(f"three-part {resource} frame {frame} width {w}: column {i} is not source {column}")
            return


def check_ink(shot, fields, failures):
    """Pixels that blend the run's most common colour (its background) with the ink, at least half ink."""
    x, y, w, h, color = (int(v) for v in fields)
    ink = colorref(color)
    pixels = shot.block(x, y, w, h)
    if not pixels or len(pixels[-1]) != 3:
        failures.append(f"caption run at ({x}, {y}, {w} x {h}) lies outside the page")
        return
    background = max(set(pixels), key=pixels.count)
    if background == ink:
        return  # more ink than anything else
    channel = max(range(3), key=lambda c: abs(ink[c] - background[c]))
    hits = 0
    for p in pixels:
        t = (p[channel] - background[channel]) / (ink[channel] - background[channel])
        mix = tuple(b + t * (i - b) for b, i in zip(background, ink))
        if t >= 0.5 and close(p, mix, 24):
            hits += 1
    if hits < 3:
        failures.append(f"caption run at ({x}, {y}, {w} x {h}) shows no pixel of colour {ink}")


def check_tooltip(shot, out, fields, failures):
    x, y, w, h = (int(v) for v in fields)
    tipped = Image(out[:-4] + "-tooltip.png", 3)
    if w < 10 or h < 10 or x < 0 or y < 0 or x + w > tipped.width or y + h > tipped.height:
        failures.append(f"tooltip at ({x}, {y}, {w} x {h}) is not on the page")
        return
    before, after = shot.block(x, y, w, h), tipped.block(x, y, w, h)
    changed = sum(1 for p, q in zip(before, after) if p != q)
    dark = sum(1 for p in after if max(p) < 90)
    if changed < len(after) // 2 or dark < 10:
        failures.append(f"no tooltip shows at ({x}, {y}, {w} x {h}): {changed} pixels changed, {dark} dark")


def check_glyphs(shot, glyphs, failures):
    cells = {}
    for code, x, y, w, h in glyphs:
        cells[code] = tuple(shot.block(x, y, w, h)) if w and h else ()
    missing = cells.pop(0x0378)
    for code, cell in cells.items():
        if len(set(cell)) < 2:
            failures.append(f"glyph U+{code:04X} drew nothing")
        if cell == missing:
            failures.append(f"glyph U+{code:04X} looks like a missing glyph")
    if len(set(cells.values())) != len(cells):
        failures.append("some Chinese glyphs look alike (boxes?)")


def main():
    build, exe, page, out, art_dir = sys.argv[1:6]
    for stale in (out, out + ".tsv", out[:-4] + "-tooltip.png"):
        if os.path.exists(stale):
            os.remove(stale)
    subprocess.run([WINERUN, build, exe, "--page", page, "--save", out], check=True, timeout=120)
    shot = Image(out, 3)
    failures, glyphs, counts = [], [], {}
    with open(out + ".tsv", encoding="utf-8") as manifest:
        for line in manifest:
            kind, *fields = line.rstrip("\n").split("\t")
            counts[kind] = counts.get(kind, 0) + 1
            if kind == "frame":
                check_frame(shot, art_dir, fields, failures)
            elif kind == "nine":
                check_nine(shot, art_dir, fields, failures)
            elif kind == "three":
                check_three(shot, art_dir, fields, failures)
            elif kind == "ink":
                check_ink(shot, fields, failures)
            elif kind == "glyph":
                glyphs.append(tuple(int(v) for v in fields))
            elif kind == "tooltip":
                check_tooltip(shot, out, fields, failures)
    if glyphs:
        check_glyphs(shot, glyphs, failures)
    expected = {"pictures": ["frame", "ink"], "captions": ["nine", "three", "ink", "glyph"],
                "controls": ["frame", "ink", "tooltip"]}[page]
    failures += [f"the gallery drew no {kind}" for kind in expected if not counts.get(kind)]
    print(f"{page}: checked " + ", ".join(f"{n} {kind}" for kind, n in sorted(counts.items())))
    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
