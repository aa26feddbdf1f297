#!/usr/bin/python3
"""The install page under Wine against simulated boxes, as a user meets it: why each APK failed
(the tooltip over the failure count, read from its window, and the lines under "查看原因", found on
the screen), the progress line of a large upload over a shaped link and its cancel link, and a drop
of a path longer than Windows' old limit."""
import glob
import os
import re
import sys
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import ACTION_LINK, DONE, PROGRESS_LINE, READY, Program  # noqa: E402
from screen import LINK_RGB  # noqa: E402
from adbbox.apps import AppSpec, place_apps  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402
from adbbox.test_apks import write_apk, write_truncated_apk  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
SUBNET = "10.231.86"
NEW_BOX, OLD_BOX = f"{SUBNET}.150", f"{SUBNET}.151"
RED, GREY = (0xFF, 0x00, 0x00), (0x80, 0x80, 0x80)
MIB = 1024 * 1024
# Where the page puts its lines (the window's coordinates): the result lines, and the reasons under
# their link, one a line.
NOTHING_LINE = (295, 325)
FAILED_COUNT_LINE = (385, 415)
REASON_TOP, REASON_STEP, REASON_LINES = 480, 20, 5

TOO_NEW = "盒子上已装有这个应用更新的版本"
SIGNER = "盒子上已有签名不同的同名应用，请先卸载它"
ABI = "这个应用不支持盒子的处理器"
PERMISSION = "盒子上的另一个应用已声明了相同的权限"
FULL = "盒子的存储空间不足"
OLD_ANDROID = "盒子的安卓版本太低，这个应用需要更新的安卓系统"
INVALID = "不是有效的安装包，文件可能已损坏或不完整"
LOST = "与盒子的连接断开了"
UNAUTHORIZED = "盒子没有允许这台电脑调试，请在电视上选择“允许”"
CANCELLED = "已取消"


class PageTestCase(unittest.TestCase):
    def start(self, lab):
        self.lab = lab
        self.temp = os.path.join(lab.workdir, "temp")
        os.makedirs(self.temp)
        lab.set_windows_environment({"TEMP": lab.windows_path(self.temp), "TMP": lab.windows_path(self.temp)})
        self.apks = os.path.join(lab.workdir, "apks")
        os.makedirs(self.apks)
        self.program = Program(lab, BUILD)
        self.assertTrue(self.program.wait_shows(READY, 60), "a box is ready\n" + self.program.log()[-3000:])
        return self.program

    def apk(self, name, package, **options):
        path = os.path.join(self.apks, name)
        write_apk(path, package, **options)
        return path

    def drop_and_wait(self, paths, limit=240):
        """Drops the APKs; waits for the page's result (the done picture or a link on the result lines)."""
        installs = len(self.program.commands(" install "))
        self.assertEqual(self.program.drop(paths), "accepted")
        ended = wait_until(lambda: len(self.program.commands(" install ")) >= installs + 1 and self.result_shown(),
                           limit, interval=0.5)
        self.assertTrue(ended, "the batch reaches its result\n" + self.program.log()[-3000:])

    def result_shown(self):
        return self.program.shows(DONE) or self.program.colour_runs(LINK_RGB, 355, 385)

    def tip_over(self, rgb, band):
        """Points at the first run of that colour between the heights; returns the tooltip's text
        as its window gives it, line by line."""
        runs = self.program.colour_runs(rgb, *band)
        self.assertTrue(runs, f"something in {rgb} between y {band}")
        lines = self.program.tooltip_over(runs[0])
        self.program.screen.move(self.program.origin[0] + 880, self.program.origin[1] + 580)  # away again
        return lines

    def reason_lines(self):
        """Clicks "查看原因" and tells, for each line of the list, whether it shows a reason (in red),
        only words (grey: the line that tells how many more there are) or nothing."""
        self.program.click_link(*ACTION_LINK)
        kinds = lambda: [  # noqa: E731
            "reason" if self.program.colour_runs(RED, top, top + REASON_STEP) else
            "words" if self.program.colour_runs(GREY, top, top + REASON_STEP) else "none"
            for top in (REASON_TOP + i * REASON_STEP for i in range(REASON_LINES))]
        shown = wait_until(lambda: kinds()[0] != "none" and kinds(), 10)
        self.assertTrue(shown, "the reasons show under their link")
        return shown

    def assertNothingLeft(self):
        procstat = os.path.join(BUILD, "bin", "procstat.exe")
        clients = lambda: re.findall(r"^\d+", self.lab.wine_output([procstat, "adb.exe"]), re.M)  # noqa: E731
        self.assertTrue(wait_until(lambda: clients() == [], 30), f"client processes left: {clients()}")
        staged = lambda: glob.glob(os.path.join(self.temp, "mivoraapk", "**", "*.apk"), recursive=True)  # noqa: E731
        self.assertTrue(wait_until(lambda: staged() == [], 30), f"staged copies left: {staged()}")


class FailureReasons(PageTestCase):
    def test_each_failed_apk_tells_why(self):
        config = {"adapters": [{"subnet": SUBNET, "boxes": [
            # Android 9 with little room left; Android 4.4 whose user is asked once, which drops
            # large uploads halfway.
            {"host": 150, "profile": "mibox", "args": ["--capacity", "2M"]},
            {"host": 151, "profile": "letv", "args": ["--auth", "ask-accept", "--ask-delay", "0.5",
                                                      "--fault", "drop:1500000"]}]}]}
        with Lab(BUILD, config) as lab:
            # What is on the new box already: a TV app at version 5 by "vendor" that defines a permission.
            place_apps(lab.boxes[NEW_BOX], "mibox", [AppSpec("com.mivora.tv", version_code=5, signer="vendor",
                                                             permissions=("com.mivora.permission.REMOTE",))])
            program = self.start(lab)
            self.assertTrue(wait_until(lambda: len(program.commands("getprop")) == 2, 60), "both boxes found")
            first = program.commands("connect")[0].split()[-1]

            new_box_batch = [
                (self.apk("good.apk", "com.mivora.good"), None),
                (self.apk("older.apk", "com.mivora.tv", version_code=1, signer="vendor"), TOO_NEW),
                (self.apk("resigned.apk", "com.mivora.tv", version_code=6, signer="someone"), SIGNER),
                (self.apk("x86.apk", "com.mivora.x86", abis=("x86", "x86_64")), ABI),
                (self.apk("copy.apk", "com.mivora.copy", permissions=("com.mivora.permission.REMOTE",)), PERMISSION),
                (self.apk("huge.apk", "com.mivora.huge", size=3 * MIB), FULL),
                (self.apk("future.apk", "com.mivora.future", min_sdk=29), OLD_ANDROID),
            ]
            broken = os.path.join(self.apks, "broken.apk")
            write_truncated_apk(broken, "com.mivora.broken")
            new_box_batch.append((broken, INVALID))
            old_box_batch = [self.apk("maps.apk", "com.mivora.maps", libraries=("com.google.android.maps",)),
                             self.apk("big.apk", "com.mivora.big", size=3 * MIB)]

            if first != NEW_BOX:
                program.choose_in_picker(rows=2, row=0)
                self.assertTrue(wait_until(lambda: program.screen.window(178, 138) is None, 10), "the picker hides")
            self.drop_and_wait([path for path, _ in new_box_batch], 360)
            self.assertEqual(len(program.commands(f"{NEW_BOX}:5555 install")), len(new_box_batch))
            self.assertEqual(set(installed_packages(lab.boxes[NEW_BOX])), {"com.mivora.tv", "com.mivora.good"})
            self.assertTrue(program.shows(DONE), "some installed: the done picture with the counts")
            expected = sorted(f"{os.path.basename(path)}：{reason}" for path, reason in new_box_batch if reason)
            self.assertEqual(sorted(self.tip_over(RED, FAILED_COUNT_LINE)), expected,
                             "the failure count's tooltip names each failed APK with its reason")
            self.assertEqual(self.reason_lines(), ["reason"] * 4 + ["words"],
                             "four reasons, then how many more there are")
            self.assertNothingLeft()

            # On the old box: an app that needs a library the box lacks (a verdict the program has
            # no words for) and an upload the box drops halfway.
            program.click_link(*FAILED_COUNT_LINE, index=1)  # continue
            self.assertTrue(program.wait_shows(READY, 20))
            program.choose_in_picker(rows=2, row=0)
            self.assertTrue(wait_until(lambda: program.screen.window(178, 138) is None, 10), "the picker hides")
            self.drop_and_wait(old_box_batch, 360)
            self.assertEqual(len(program.commands(f"{OLD_BOX}:5555 install")), 2)
            self.assertFalse(program.shows(DONE), "nothing installed")
            tip = self.tip_over(GREY, NOTHING_LINE)
            self.assertEqual(len(tip), 2, tip)
            self.assertEqual(tip[0], "maps.apk：Failure [INSTALL_FAILED_MISSING_SHARED_LIBRARY]",
                             "a verdict the program has no words for: the client's own last line")
            self.assertEqual(tip[1], f"big.apk：{LOST}")
            self.assertEqual(self.reason_lines(), ["reason", "reason", "none", "none", "none"])
            self.assertNothingLeft()

            # The box's user revokes every computer's authorisation and turns down the question
            # that follows.
            program.click_link(385, 415, 0)  # continue with other apps
            self.assertTrue(program.wait_shows(READY, 20))
            lab.revoke_box(OLD_BOX)
            self.drop_and_wait([self.apk("late.apk", "com.mivora.late")], 240)
            self.assertEqual(self.tip_over(GREY, NOTHING_LINE), [f"late.apk：{UNAUTHORIZED}"])
            self.assertEqual(installed_packages(lab.boxes[OLD_BOX]), {})
            self.assertNothingLeft()
            program.stop()


class ProgressAndCancel(PageTestCase):
    def test_progress_cancel_and_a_long_path(self):
        config = {"adapters": [{"subnet": SUBNET, "boxes": [{"host": 150, "profile": "mibox"}]}]}
        with Lab(BUILD, config) as lab:
            lab.limit_box_link("100mbit", device="eth0")  # 100 MB take about nine seconds
            program = self.start(lab)
            first = self.apk("first.apk", "com.mivora.first", size=100 * MIB, seed=1)
            second = self.apk("second.apk", "com.mivora.second", size=100 * MIB, seed=2)
            self.assertEqual(program.drop([first, second]), "accepted")

            # The progress line shows under the installing line and moves on.
            band = lambda: program.screen.shot().crop(  # noqa: E731
                (program.origin[0] + 300, program.origin[1] + PROGRESS_LINE[0],
                 program.origin[0] + 600, program.origin[1] + PROGRESS_LINE[1])).tobytes()
            self.assertTrue(wait_until(lambda: program.colour_runs(GREY, *PROGRESS_LINE), 60, interval=0.3),
                            "the progress line shows\n" + program.log()[-3000:])
            before = band()
            self.assertTrue(wait_until(lambda: band() != before and program.colour_runs(GREY, *PROGRESS_LINE),
                                       30, interval=0.3), "the progress line moves on")
            self.assertEqual(installed_packages(lab.boxes[NEW_BOX]), {}, "still the first upload")

            # Cancel: the page reaches its result, both APKs failed for the user's reason.
            program.click_link(*ACTION_LINK)
            self.assertTrue(wait_until(self.result_shown, 60, interval=0.5),
                            "the cancelled batch reaches its result\n" + program.log()[-3000:])
            self.assertFalse(program.shows(DONE))
            self.assertEqual(sorted(self.tip_over(GREY, NOTHING_LINE)),
                             [f"first.apk：{CANCELLED}", f"second.apk：{CANCELLED}"])
            self.assertNothingLeft()
            self.assertEqual(installed_packages(lab.boxes[NEW_BOX]), {})

            # Continue, then a drop from a folder whose path is longer than Windows' old limit.
            program.click_link(385, 415, 0)  # continue with other apps
            self.assertTrue(program.wait_shows(READY, 20))
            folder = os.path.join(self.apks, *(["长路径" + "d" * 90] * 3))
            os.makedirs(folder)
            deep = self.apk(os.path.join(folder, "深处的应用.apk"), "com.mivora.deep")
            self.assertGreater(len(lab.windows_path(deep)), 300)
            self.drop_and_wait([deep], 240)
            self.assertTrue(program.shows(DONE), "the APK from the long path installed\n" + program.log()[-3000:])
            self.assertIn("com.mivora.deep", installed_packages(lab.boxes[NEW_BOX]))
            self.assertNothingLeft()
            program.stop()


if __name__ == "__main__":
    unittest.main()
