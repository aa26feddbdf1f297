"""Looking at and pointing into the lab's X display as a user would: screenshots, the skin's own
pictures found at known places, links found by their colour, clicks through xdotool."""
import glob
import os
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))

# Texts of links are drawn in this colour while the pointer is elsewhere (COLORREF 0xE59422).
LINK_RGB = (0x22, 0x94, 0xE5)


class Screen:
    def __init__(self, lab, art_dir):
        self.lab = lab
        self.art_dir = art_dir  # the rendered skin pictures, <build>/generated/skin

    def shot(self, path=None):
        path = path or tempfile.mktemp(suffix=".png", dir=self.lab.workdir)
        self.lab.screenshot(path)
        return Image.open(path).convert("RGB")

    def window(self, width, height):
        """(x, y) of the mapped top-level window of that size, or None. Asked from inside the lab:
        outside it the display's number may name another X server."""
        out = self.lab.run_in(self.lab.pc, ["/usr/bin/python3", os.path.join(HERE, "xwindows.py")],
                              env=self.lab.wine_env(), text=True).stdout
        for line in out.splitlines():
            x, y, w, h = map(int, line.split())
            if (w, h) == (width, height):
                return x, y
        return None

    def art(self, number, frame=0):
        """Frame `frame` of skin picture `number`, with its frame count read from the picture's name
        table (frames side by side unless the picture is taller than wide)."""
        image = Image.open(self._art_path(number)).convert("RGBA")
        frames = self._frames(number)
        if image.height > image.width and frames > 1:
            h = image.height // frames
            return image.crop((0, frame * h, image.width, (frame + 1) * h))
        w = image.width // frames
        return image.crop((frame * w, 0, (frame + 1) * w, image.height))

    def shows(self, shot, number, x, y, frame=0, threshold=0.9):
        """Whether the screenshot shows that picture's frame with its top-left at (x, y): its fully
        opaque pixels must be there, exactly."""
        art = self.art(number, frame)
        opaque = matching = 0
        for ay in range(art.height):
            for ax in range(art.width):
                r, g, b, a = art.getpixel((ax, ay))
                if a != 255:
                    continue
                opaque += 1
                sx, sy = x + ax, y + ay
                if 0 <= sx < shot.width and 0 <= sy < shot.height and shot.getpixel((sx, sy)) == (r, g, b):
                    matching += 1
        return opaque > 0 and matching >= threshold * opaque

    def colour_runs(self, shot, rgb, left, top, right, bottom, gap=6):
        """Horizontal stretches of the box where the colour occurs, as (x0, x1, y0, y1), left to right."""
        columns = {}
        for y in range(top, bottom):
            for x in range(left, right):
                if shot.getpixel((x, y)) == rgb:
                    lo, hi = columns.get(x, (y, y))
                    columns[x] = (min(lo, y), max(hi, y))
        runs = []
        for x in sorted(columns):
            lo, hi = columns[x]
            if runs and x - runs[-1][1] <= gap:
                x0, _, y0, y1 = runs[-1]
                runs[-1] = (x0, x, min(y0, lo), max(y1, hi))
            else:
                runs.append((x, x, lo, hi))
        return runs

    def click(self, x, y):
        self.lab.run_in(self.lab.pc, ["xdotool", "mousemove", str(x), str(y), "click", "1"],
                        env=self.lab.wine_env(), timeout=30)

    def move(self, x, y):
        self.lab.run_in(self.lab.pc, ["xdotool", "mousemove", str(x), str(y)], env=self.lab.wine_env(), timeout=30)

    def drop(self, x, y, paths):
        result = self.lab.run_in(self.lab.pc, ["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "..",
                                                                             "xdnd", "drop_files.py"),
                                              str(x), str(y)] + list(paths),
                                 env=self.lab.wine_env(), text=True, timeout=60)
        # What went wrong, where the helper said nothing of its own.
        return result.stdout.strip() or result.stderr.strip()[-2000:]

    def _art_path(self, number):
        return glob.glob(os.path.join(self.art_dir, f"{number}-*.png"))[0]

    @staticmethod
    def _frames(number):
        return FRAMES.get(number, 1)


# Frame counts of the skin pictures that have more than one.
FRAMES = {10002: 12, 10003: 8, 10004: 4, 10005: 2, 10006: 4, 10007: 4, 10008: 4, 10009: 4, 10010: 4,
          10011: 4, 10012: 4, 10013: 4, 10014: 2, 10019: 8, 10022: 3, 10023: 4, 10024: 4, 10025: 2,
          10032: 8}
