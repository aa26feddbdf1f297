#!/usr/bin/python3
"""The app-management tab as a user meets it, under Wine in a lab network with simulated boxes of
Android 9 (launcher queries, split APKs) and Android 4.2 (no "cmd"): listing, the search filter,
uninstalls confirmed, cancelled and refused by the box, exports of one app and of several through
the standard folder dialog, an export to a disk that is full, and a box that vanishes while the
tab shows its apps; the system apps' toggle, the list following an install batch, and a failed
row's whole reason in its tooltip. Outcomes are checked where the user or the box sees them: the boxes' packages,
the exported files, the program's command log and the colours of the rows' links and outcomes."""
import os
import subprocess
import sys
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import DONE, READY, TAB_AT, Program  # noqa: E402
from screen import LINK_RGB  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402
from adbbox.test_apks import write_apk  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
SUBNET = "10.231.79"
NEW_BOX, OLD_BOX = f"{SUBNET}.150", f"{SUBNET}.151"
# Where the tab's parts stand in the window.
SEARCH_AT = (150, 117)
TOOLBAR = (106, 130)
LIST_TOP, ROW_HEIGHT = 160, 46
STATUS = (290, 325)
FAILED_RGB, DONE_RGB = (0xE0, 0x00, 0x00), (0x00, 0x90, 0x00)
TOOLTIP_RGB = (0xFF, 0xFF, 0xFF)  # the tooltips' background in the lab's Wine
DIALOG = (380, 170)
CONFIRM_LEFT = (900 - DIALOG[0]) // 2
CONFIRM_BUTTONS = ((600 - DIALOG[1]) // 2 + 100, (600 - DIALOG[1]) // 2 + 150)


def row_band(row, lines=1):
    top = LIST_TOP + row * ROW_HEIGHT
    return top, top + (24 if lines == 1 else ROW_HEIGHT - 2)


class AppsTab(unittest.TestCase):
    def setUp(self):
        config = {"adapters": [{"subnet": SUBNET, "boxes": [
            {"host": 150, "profile": "mibox", "args": ["--apps", "24", "--fault", "keep:com.example.app002"]}]}]}
        self.lab = Lab(BUILD, config).__enter__()
        self.addCleanup(self.lab.__exit__, None, None, None)
        # A small disk for exports, there before the program starts: the program's namespace takes
        # a copy of the mounts as they are then.
        self.small = os.path.join(self.lab.workdir, "small")
        os.makedirs(self.small)
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", self.small], check=True)
        self.addCleanup(subprocess.run, ["umount", "-l", self.small])
        self.program = Program(self.lab, BUILD)
        self.assertTrue(self.program.wait_shows(READY, 60), "a box is ready\n" + self.program.log()[-3000:])

    def xdotool(self, *args):
        self.lab.run_in(self.lab.pc, ["xdotool", *args], env=self.lab.wine_env(), timeout=30)

    def links(self, row):
        return [run for run in self.program.colour_runs(LINK_RGB, *row_band(row)) if run[1] - run[0] > 8]

    def open_tab(self):
        self.program.click(TAB_AT[1])
        self.assertTrue(wait_until(lambda: self.program.commands("pm list packages"), 30), "the tab lists the apps")
        self.assertTrue(wait_until(lambda: len(self.links(0)) == 3, 30),
                        "the first row shows its three links\n" + self.program.log()[-2000:])

    def search(self, text):
        self.program.click(SEARCH_AT)
        self.xdotool("key", "End")
        self.xdotool("key", "--repeat", "12", "BackSpace")
        if text:
            self.xdotool("type", "--delay", "40", text)

    def answer_confirmation(self, uninstall):
        """Clicks "卸载" or "取消" in the skinned confirmation, which stands centred over the window."""
        def buttons():
            runs = self.program.colour_runs(LINK_RGB, *CONFIRM_BUTTONS)
            return [run for run in runs if run[1] - run[0] > 8 and CONFIRM_LEFT <= run[0] < CONFIRM_LEFT + DIALOG[0]]
        found = wait_until(lambda: len(buttons()) == 2, 20)
        if not found and os.environ.get("MIVORA_SHOTS"):
            self.program.screenshot(os.path.join(os.environ["MIVORA_SHOTS"], "no_dialog.png"))
        self.assertTrue(found, "the skinned confirmation shows 卸载 and 取消")
        time.sleep(0.5)  # a window that has just appeared takes its activation first
        x0, x1, y0, y1 = buttons()[0 if uninstall else 1]
        self.program.click(((x0 + x1) // 2, (y0 + y1) // 2))
        self.assertTrue(wait_until(lambda: not buttons(), 15), "the confirmation closes")

    def pick_folder(self, folder):
        """Types the folder into the standard folder dialog and takes it."""
        found = wait_until(lambda: self.lab.run_in(self.lab.pc, ["xdotool", "search", "--name", "选择导出到的文件夹"],
                                                   env=self.lab.wine_env(), timeout=30).stdout.strip(), 20)
        self.assertTrue(found, "the folder dialog shows")
        time.sleep(1)
        self.xdotool("type", "--delay", "30", self.lab.windows_path(folder))
        self.xdotool("key", "Return")

    def outcome_colour(self, row, rgb):
        top, _ = row_band(row)
        return self.program.colour_runs(rgb, top + 22, top + ROW_HEIGHT - 2)

    def packages(self):
        return installed_packages(self.lab.boxes[NEW_BOX])

    def test_lists_filters_uninstalls_and_exports(self):
        self.open_tab()
        listing = self.program.commands("pm list packages")[0]
        self.assertIn(f"-s {NEW_BOX}:5555", listing)
        self.assertTrue(self.program.colour_runs(LINK_RGB, *TOOLBAR), "the toolbar's links show")

        # The filter leaves one row: its links show, the next row's do not.
        self.search("app006")
        self.assertTrue(wait_until(lambda: len(self.links(0)) == 3 and not self.links(1), 15), "one row is left")

        # Uninstall cancelled: nothing is asked of the box.
        self.program.click_link(*row_band(0), 1)
        self.answer_confirmation(uninstall=False)
        time.sleep(1)
        self.assertEqual(self.program.commands("uninstall"), [])
        # Confirmed: the app leaves the box and the list.
        self.program.click_link(*row_band(0), 1)
        self.answer_confirmation(uninstall=True)
        self.assertTrue(wait_until(lambda: "com.example.app006" not in self.packages(), 30))
        self.assertEqual(len(self.program.commands("uninstall com.example.app006")), 1)
        self.assertTrue(wait_until(lambda: not self.links(0), 15), "the uninstalled app's row goes")

        # Refused by the box's policy: the app stays, the row tells why in red.
        self.search("app002")
        self.assertTrue(wait_until(lambda: len(self.links(0)) == 3, 15))
        self.program.click_link(*row_band(0), 1)
        self.answer_confirmation(uninstall=True)
        self.assertTrue(wait_until(lambda: self.outcome_colour(0, FAILED_RGB), 30),
                        "the refusal shows with its reason\n" + self.program.log()[-2000:])
        self.assertIn("com.example.app002", self.packages())
        # The cell shows the start of the reason; the pointer over it brings the whole in a tooltip.
        x0, x1, y0, y1 = self.outcome_colour(0, FAILED_RGB)[0]
        # The tooltip follows the pointer's moves over its control, the first of which registers it.
        for step in (0, 1):
            self.xdotool("mousemove", str(self.program.origin[0] + (x0 + x1) // 2 + step),
                         str(self.program.origin[1] + (y0 + y1) // 2))
            time.sleep(0.3)
        tips = lambda: [run for run in self.program.colour_runs(TOOLTIP_RGB, y1, y1 + 60)  # noqa: E731
                        if run[1] - run[0] > x1 - x0 + 40]
        shown = wait_until(tips, 20)
        if not shown and os.environ.get("MIVORA_SHOTS"):
            self.program.screenshot(os.path.join(os.environ["MIVORA_SHOTS"], "no_tooltip.png"))
        self.assertTrue(shown, "a tooltip wider than the cell tells the whole reason")

        # Export of one app, then of two selected ones (one of them in split APKs).
        out = os.path.join(self.lab.workdir, "exported apps")  # typed into the dialog: ASCII
        os.makedirs(out)
        self.program.click_link(*row_band(0), 2)
        self.pick_folder(out)
        self.assertTrue(wait_until(lambda: self.outcome_colour(0, DONE_RGB), 30), "the export is done")
        self.assertEqual(len(os.listdir(out)), 1)
        exported = os.listdir(out)[0]
        self.assertTrue(exported.startswith("儿童动画_") and exported.endswith(".apk"), exported)

        self.search("app01")
        self.assertTrue(wait_until(lambda: len(self.links(1)) == 3, 15))
        for row in (0, 1):
            top, _ = row_band(row)
            self.program.click((600, top + ROW_HEIGHT - 5))  # beside the row's texts: selects it
        self.assertTrue(wait_until(lambda: len(self.program.colour_runs(LINK_RGB, *TOOLBAR)) >= 4, 10),
                        "the toolbar offers the actions on the selection")
        second = os.path.join(self.lab.workdir, "second")
        os.makedirs(second)
        self.program.click_link(*TOOLBAR, 3)
        self.pick_folder(second)
        self.assertTrue(wait_until(lambda: len(self.program.commands("pull")) == 3, 30), self.program.log()[-2000:])
        self.assertTrue(wait_until(lambda: len([n for n in os.listdir(second) if not n.startswith(".")]) == 2, 30))
        self.assertEqual([n for n in os.listdir(second) if n.startswith(".")], [], "no working folder is left")

    def test_system_apps_on_demand_and_a_list_that_follows_installs(self):
        self.open_tab()
        # The system's own apps show only when asked for.
        self.search("com.android")
        self.assertTrue(wait_until(lambda: not self.links(0), 15), "no system app is listed at first")
        self.program.click_link(*TOOLBAR, 0)  # 显示系统应用
        self.assertTrue(wait_until(lambda: self.links(0), 15), "the toggle shows the system's apps")
        # Clicked again where it is: the link's new words take the click without a move between.
        self.program.click_link(*TOOLBAR, 0)  # 隐藏系统应用
        hidden = wait_until(lambda: not self.links(0), 15)
        if not hidden and os.environ.get("MIVORA_SHOTS"):
            self.program.screenshot(os.path.join(os.environ["MIVORA_SHOTS"], "toggle.png"))
        self.assertTrue(hidden, "and hides them again")
        self.assertEqual(len(self.program.commands("pm list packages")), 1, "the toggle asks the box nothing")

        # An install batch on the other tab: once it ends, the listed apps are listed again.
        apk = os.path.join(self.lab.workdir, "fresh.apk")
        write_apk(apk, "com.mivora.fresh", 14)
        self.program.click(TAB_AT[0])
        self.assertTrue(self.program.wait_shows(READY, 30))
        self.assertEqual(self.program.drop([apk]), "accepted")
        self.assertTrue(wait_until(lambda: len(self.program.commands("pm list packages")) == 2, 120),
                        "the batch's end lists the apps again\n" + self.program.log()[-2000:])
        self.assertTrue(self.program.shows(DONE), "the batch succeeded")
        self.program.click(TAB_AT[1])
        self.search("fresh")
        self.assertTrue(wait_until(lambda: len(self.links(0)) >= 2, 30), "the new app has its row")

    def test_a_full_disk_and_a_box_that_vanishes(self):
        self.open_tab()
        small = self.small
        # The first row's app (com.example.app005, which has no label) grows past the small disk.
        with open(os.path.join(self.lab.boxes[NEW_BOX], "fs", "data", "app", "com.example.app005-1", "base.apk"),
                  "ab") as apk:
            apk.write(os.urandom(3 * 1024 * 1024))
        self.program.click_link(*row_band(0), 2)
        self.pick_folder(small)
        shown = wait_until(lambda: self.outcome_colour(0, FAILED_RGB), 30)
        if not shown and os.environ.get("MIVORA_SHOTS"):
            self.program.screenshot(os.path.join(os.environ["MIVORA_SHOTS"], "disk_full.png"))
        self.assertTrue(shown, "the export fails with its reason\n" + self.program.log()[-2000:])
        self.assertEqual(os.listdir(small), [], "nothing is left on the full disk")

        # The box goes away: an action on it fails with a reason, and listing again says the box is gone.
        box = next(p for p in self.lab.processes if NEW_BOX in " ".join(map(str, p.args)))
        box.terminate()
        box.wait(timeout=10)
        self.program.click_link(*row_band(1), 0)
        self.assertTrue(wait_until(lambda: self.outcome_colour(1, FAILED_RGB), 60),
                        "opening fails on a vanished box\n" + self.program.log()[-2000:])
        self.program.click_link(*TOOLBAR, 1)  # 刷新
        self.assertTrue(wait_until(lambda: self.program.colour_runs(LINK_RGB, *STATUS), 60),
                        "the search-again link shows\n" + self.program.log()[-2000:])


class OldBox(unittest.TestCase):
    def test_an_old_box_without_cmd_lists_and_exports(self):
        config = {"adapters": [{"subnet": SUBNET, "boxes": [{"host": 151, "profile": "mele", "args": ["--apps", "6"]}]}]}
        with Lab(BUILD, config) as lab:
            program = Program(lab, BUILD)
            self.assertTrue(program.wait_shows(READY, 60))
            program.click(TAB_AT[1])
            self.assertTrue(wait_until(lambda: len([r for r in program.colour_runs(LINK_RGB, *row_band(0))
                                                    if r[1] - r[0] > 8]) == 3, 60), program.log()[-2000:])
            out = os.path.join(lab.workdir, "out")
            os.makedirs(out)
            program.click_link(*row_band(0), 2)
            helper = AppsTab("run")
            helper.lab, helper.program = lab, program
            helper.pick_folder(out)
            self.assertTrue(wait_until(lambda: [n for n in os.listdir(out) if not n.startswith(".")], 30),
                            program.log()[-2000:])
            # Old boxes cannot tell labels: the copy is named after the package.
            self.assertRegex(os.listdir(out)[0], r"^com\.example\.app\d{3}_[\d.]+\.apk$")


if __name__ == "__main__":
    unittest.main(verbosity=2)
