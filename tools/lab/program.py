"""The program under Wine in a lab, started from a copy so that its "-adblog" command log stays
with the run, and what a user can see of it."""
import os
import re
import shutil
import sys
import time

from lab import wait_until
from screen import LINK_RGB, Screen

WIDTH, HEIGHT = 900, 600

# Where the page's pictures stand in the window: (skin picture, x, y).
READY = (10033, 394, 240)
WAIT = (10031, 394, 240)
DONE = (10029, 416, 240)
NO_BOX = (10034, 15, 44)
DROP_AREA = (10030, 151, 200)
PANEL = (10022, 0, 25)
BADGE = (10025, 155, 55)
# Heights (top, bottom) of lines of the install page: the progress under the installing line, the
# link under the drop area (取消安装, 查看原因).
PROGRESS_LINE = (395, 418)
ACTION_LINK = (445, 475)
# Centres of the controls a user clicks.
DEVICE_PANEL_AT = (89, 59)
TAB_AT = [(240, 61), (320, 61), (400, 61)]
ABOUT_AT = (829, 12)


class Program:
    def __init__(self, lab, build, args=("-adblog",), exe=None):
        """exe: another program of the build that opens a window of the same size (a benchmark's)."""
        self.lab = lab
        self.build = build
        self.folder = os.path.join(lab.workdir, "program")
        os.makedirs(self.folder, exist_ok=True)
        source = exe or os.path.join(build, "MivoraBoxAssistant.exe")
        self.exe = os.path.join(self.folder, os.path.basename(source))
        shutil.copy(source, self.exe)
        self.screen = Screen(lab, os.path.join(build, "generated", "skin"))
        self.process = lab.wine([self.exe] + list(args))
        self.origin = wait_until(lambda: self.screen.window(WIDTH, HEIGHT) or self.lab.server_log(), 60)
        if not isinstance(self.origin, tuple):
            raise AssertionError("the main window did not appear\n" + self.lab.server_log())

    def log_path(self):
        return os.path.join(self.folder, "MivoraBoxAssistant.log")

    def stop(self):
        """Ends the program and waits until its window has gone from the screen."""
        self.process.kill()
        self.process.wait(timeout=30)
        wait_until(lambda: self.screen.window(WIDTH, HEIGHT) is None, 30)

    def log(self):
        """The program's command log (UTF-8), followed by whatever Wine's server complained of."""
        try:
            with open(self.log_path(), encoding="utf-8", errors="replace", newline="") as f:
                text = f.read()
        except FileNotFoundError:
            text = ""
        return text + self.lab.server_log()

    def commands(self, word):
        """The client command lines the program ran that contain word, in order."""
        return re.findall(r"<-----before DoCommand \$adb\$ (.*" + word + r".*)\r\n", self.log())

    def shows(self, picture, frame=0):
        number, x, y = picture
        return self.screen.shows(self.screen.shot(), number, self.origin[0] + x, self.origin[1] + y, frame)

    def wait_shows(self, picture, timeout=30):
        # A Wine server that gave up leaves the window as it is: no point waiting for a change.
        wait_until(lambda: self.shows(picture) or self.lab.server_log(), timeout, interval=0.3)
        return self.shows(picture)

    def click(self, at):
        self.screen.click(self.origin[0] + at[0], self.origin[1] + at[1])

    def drop(self, paths):
        return self.screen.drop(self.origin[0] + 450, self.origin[1] + 320, paths)

    def colour_runs(self, rgb, top, bottom):
        shot = self.screen.shot()
        x0, y0 = self.origin
        return [(a - x0, b - x0, c - y0, d - y0)
                for a, b, c, d in self.screen.colour_runs(shot, rgb, x0, y0 + top, x0 + WIDTH, y0 + bottom)]

    def click_link(self, top, bottom, index=0):
        """Clicks the index-th link (by its colour) between the two heights of the window."""
        runs = [run for run in self.colour_runs(LINK_RGB, top, bottom) if run[1] - run[0] > 8]
        if len(runs) <= index:
            raise AssertionError(f"no link {index} between y {top} and {bottom}: {runs}")
        x0, x1, y0, y1 = runs[index]
        self.click(((x0 + x1) // 2, (y0 + y1) // 2))

    def tooltip_over(self, run, timeout=30):
        """Rests the pointer on the run (x0, x1, y0, y1) of the window until a tooltip shows; returns
        the tooltip's lines as its window gives them (none when no tooltip showed)."""
        x0, x1, y0, y1 = run
        x, y = self.origin[0] + (x0 + x1) // 2, self.origin[1] + (y0 + y1) // 2
        wintool = os.path.join(self.build, "bin", "wintool.exe")
        step = iter(range(1 << 30))

        def text():
            # A tooltip waits for the pointer to move over its owner; the first move may come
            # before the window has the pointer, so the pointer moves by a pixel now and then.
            self.screen.move(x + next(step) % 2, y)
            return self.lab.wine_output([wintool, "text", "tooltips_class32"]).strip()
        shown = wait_until(text, timeout, interval=1.5)
        return [line for line in shown.replace("\r", "").split("\n") if line]

    def choose_in_picker(self, rows, row):
        """Opens the device picker from the panel and clicks one of its rows (none when row is None);
        returns the picker's position."""
        self.click(DEVICE_PANEL_AT)
        picker = wait_until(lambda: self.screen.window(178, 69 * rows), 5)
        if not picker:
            # Under a loaded Wine a click on the panel now and then shows no picker (seen once in two
            # full runs of the suite, cause not found: a lost click or a late activation that hides
            # it again); a second click shows it.
            print("the first click on the device panel showed no picker; clicking again", file=sys.stderr)
            self.click(DEVICE_PANEL_AT)
            picker = wait_until(lambda: self.screen.window(178, 69 * rows), 10)
        # A window that has just appeared takes its activation first; a click in that moment is lost.
        time.sleep(0.5)
        if picker and row is not None:
            self.screen.click(picker[0] + 89, picker[1] + 69 * row + 34)
        return picker

    def screenshot(self, path):
        self.lab.screenshot(path)
        return path
