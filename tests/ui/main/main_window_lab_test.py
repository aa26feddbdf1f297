#!/usr/bin/python3
"""The program as a user meets it, under Wine in lab networks with simulated TV boxes: it finds and
names the boxes, takes APK files dropped on it from an X drag-and-drop, installs them, retries the
failed ones, lets the user pick another box, and copes with hosts that are no box. Outcomes are
checked where a user or a box sees them: the screen (the skin's pictures at their places, the colours
of counts and links), the boxes' installed packages, and the program's "-adblog" command log."""
import os
import sys
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import (BADGE, DONE, DROP_AREA, NO_BOX, PANEL, READY, TAB_AT, WAIT,  # noqa: E402
                     Program)
from screen import LINK_RGB  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402
from adbbox.test_apks import write_apk, write_non_apk, write_truncated_apk  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
SUBNET = "10.231.77"
GREEN, RED, GREY = (0x00, 0x90, 0x00), (0xFF, 0x00, 0x00), (0x80, 0x80, 0x80)


def packages(lab, address):
    return installed_packages(lab.boxes[address])


def make_apks(folder):
    os.makedirs(folder, exist_ok=True)
    write_apk(os.path.join(folder, "视频 播放器.apk"), "com.mivora.player", 14)
    write_truncated_apk(os.path.join(folder, "broken.apk"), "com.mivora.broken", 14)
    write_non_apk(os.path.join(folder, "notes.txt"))
    write_apk(os.path.join(folder, "second.apk"), "com.mivora.second", 14)
    write_apk(os.path.join(folder, "big.apk"), "com.mivora.big", 14, size=30 * 1024 * 1024)
    return folder


class TwoBoxes(unittest.TestCase):
    def test_find_install_retry_pick_and_tabs(self):
        config = {"adapters": [{"subnet": SUBNET, "boxes": [{"host": 150, "profile": "mibox"},
                                                          {"host": 151, "profile": "letv"}]}]}
        with Lab(BUILD, config) as lab:
            apks = make_apks(os.path.join(lab.workdir, "apks"))
            program = Program(lab, BUILD)

            # Both boxes are connected and named; the first becomes current and the badge shows.
            self.assertTrue(program.wait_shows(READY, 40), "the page is ready for drops\n" + program.log()[-3000:])
            self.assertTrue(wait_until(lambda: len(program.commands("getprop")) == 2, 20))
            connects = program.commands("connect")
            self.assertEqual(sorted(line.split()[-1] for line in connects), [f"{SUBNET}.150", f"{SUBNET}.151"],
                             "each found box is connected once before its query")
            first = connects[0].split()[-1]
            other = f"{SUBNET}.151" if first == f"{SUBNET}.150" else f"{SUBNET}.150"
            self.assertTrue(program.shows(PANEL))
            self.assertTrue(program.shows(BADGE), "the badge tells there is more than one box")

            # Three files dropped: one good APK, one broken APK, one text file.
            self.assertEqual(program.drop([os.path.join(apks, n) for n in ("视频 播放器.apk", "broken.apk", "notes.txt")]),
                             "accepted")
            self.assertTrue(wait_until(lambda: len(program.commands("install")) == 2 and program.shows(DONE), 60))
            installs = program.commands("install")
            self.assertIn("mivora_apk_0001.apk", installs[0])
            self.assertIn("mivora_apk_0002.apk", installs[1])
            self.assertIn(f"-s {first}:5555", installs[0])
            self.assertIn("com.mivora.player", packages(lab, first))
            self.assertNotIn("com.mivora.broken", packages(lab, first))
            self.assertTrue(program.colour_runs(GREEN, 355, 385), "one success, counted in green")
            self.assertTrue(program.colour_runs(RED, 385, 415), "one failure, counted in red")

            # Install again takes only the failed APK, staged under a new name; it fails again:
            # nothing installed this time.
            program.click_link(385, 415, 0)
            self.assertTrue(wait_until(lambda: len(program.commands("install")) == 3, 30))
            self.assertIn("mivora_apk_0003.apk", program.commands("install")[2])
            self.assertTrue(wait_until(lambda: not program.shows(DONE) and program.colour_runs(LINK_RGB, 385, 415), 30))

            # Continue: the page is ready again.
            program.click_link(385, 415, 0)
            self.assertTrue(program.wait_shows(READY, 10))

            # The second tab lists the box's apps, the third shows the construction notice; the first
            # tab brings the page back.
            program.click(TAB_AT[1])
            self.assertTrue(wait_until(lambda: not program.shows(READY) and not program.shows(DROP_AREA), 10))
            self.assertTrue(wait_until(lambda: program.commands("pm list packages"), 30), "the apps are listed")
            program.click(TAB_AT[2])
            self.assertTrue(wait_until(lambda: program.colour_runs(GREY, 318, 350), 10), "the construction notice")
            program.click(TAB_AT[0])
            self.assertTrue(program.wait_shows(READY, 10))

            # The picker lists the other box; choosing it makes it the target of the next drop.
            # The picker lists the other box, then the row that searches again.
            picker = program.choose_in_picker(rows=2, row=0)
            self.assertEqual(picker, (program.origin[0], program.origin[1] + 92))
            self.assertTrue(wait_until(lambda: program.screen.window(178, 138) is None, 10), "the picker hides")
            self.assertEqual(program.drop([os.path.join(apks, "second.apk")]), "accepted")
            self.assertTrue(wait_until(lambda: "com.mivora.second" in packages(lab, other), 60))
            self.assertNotIn("com.mivora.second", packages(lab, first))

            # The picker's last row searches again: both boxes are found and connected anew.
            self.assertTrue(program.wait_shows(DONE, 30))
            connects = len(program.commands("connect"))
            time.sleep(1)  # the results page settles before the panel is clicked
            picker = program.choose_in_picker(rows=2, row=None)
            self.assertTrue(picker, "the picker shows the search row")
            shot = program.screen.shot()
            self.assertEqual(shot.getpixel((picker[0] + 170, picker[1] + 69 + 5)),
                             shot.getpixel((picker[0] + 170, picker[1] + 5)),
                             "the search row is drawn like the box rows, its white words on their colour")
            program.screen.click(picker[0] + 89, picker[1] + 69 + 34)
            self.assertTrue(wait_until(lambda: not program.shows(DONE), 20), "the search leaves the results")
            self.assertTrue(wait_until(lambda: len(program.commands("connect")) >= connects + 2, 60),
                            "a search again connects both boxes again")
            self.assertTrue(program.wait_shows(READY, 60), "and the page is ready again")


class NoBox(unittest.TestCase):
    def test_a_host_that_is_no_box_then_nothing_then_search_again(self):
        config = {"adapters": [{"subnet": SUBNET, "refusing": [30]}]}
        with Lab(BUILD, config) as lab:
            # Port 5555 open, but what answers is no debug bridge.
            lab.run_in(f"{lab.tag}-lan0", ["ip", "addr", "add", f"{SUBNET}.60/24", "dev", f"{lab.tag}l0"])
            lab.spawn(["socat", f"TCP-LISTEN:5555,bind={SUBNET}.60,fork,reuseaddr", "SYSTEM:echo not-adb"],
                      namespace=f"{lab.tag}-lan0")
            program = Program(lab, BUILD)
            start = time.monotonic()
            # Identifying: the address line appears under the status line.
            self.assertTrue(wait_until(lambda: program.colour_runs((255, 255, 255), 66, 82), 15))
            self.assertTrue(program.shows(WAIT))
            self.assertTrue(wait_until(lambda: program.shows(NO_BOX), 30), "no box after the search time")
            self.assertGreater(time.monotonic() - start, 15)
            self.assertEqual(program.commands("getprop"), [], "a host that is no box is never queried")

            program.click_link(155, 185, 0)
            self.assertTrue(wait_until(lambda: not program.shows(NO_BOX), 10), "searching again")
            again = time.monotonic()
            self.assertTrue(wait_until(lambda: program.shows(NO_BOX), 30), "the search ends again")
            self.assertGreater(time.monotonic() - again, 15)


class DroppedConnection(unittest.TestCase):
    def test_a_box_that_drops_mid_install_ends_the_batch_with_a_failure(self):
        config = {"adapters": [{"subnet": SUBNET, "boxes": [{"host": 150, "profile": "mibox",
                                                            "args": ["--fault", "drop:5000000"]}]}]}
        with Lab(BUILD, config) as lab:
            apks = make_apks(os.path.join(lab.workdir, "apks"))
            program = Program(lab, BUILD)
            self.assertTrue(program.wait_shows(READY, 40))
            self.assertEqual(program.drop([os.path.join(apks, "big.apk")]), "accepted")
            # The failure page: no done picture, the install-again link.
            self.assertTrue(wait_until(lambda: len(program.commands("install")) == 1 and
                                       program.colour_runs(LINK_RGB, 355, 385), 90))
            self.assertFalse(program.shows(DONE))
            self.assertEqual(packages(lab, f"{SUBNET}.150"), {})


if __name__ == "__main__":
    unittest.main()
