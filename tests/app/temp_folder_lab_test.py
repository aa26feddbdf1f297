#!/usr/bin/python3
"""The program under Wine in a lab, for a user whose temporary folder has blanks, Chinese, "&", "%"
and "^" in its name, with a program planted where the name's first word ends. The program finds
the box and installs to it with the client it carries; the planted program never runs. What a
killed earlier run left in that folder (a client cut short, a staged copy) is not used, and the
copy staged for this install is gone once it has ended."""
import glob
import os
import shutil
import sys
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import DONE, READY, Program  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402
from adbbox.test_apks import write_apk  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
BOX = "10.231.77.150"
TEMP_NAME = "My 临时 & 100% ^up"


class OddTemporaryFolder(unittest.TestCase):
    def test_a_box_is_found_and_installed_to_whatever_the_folder_is_called(self):
        config = {"adapters": [{"subnet": "10.231.77", "boxes": [{"host": 150, "profile": "mibox"}]}]}
        with Lab(BUILD, config) as lab:
            temp = os.path.join(lab.workdir, TEMP_NAME)
            # Whoever runs first at "<first word>.exe" leaves its calls beside it.
            shutil.copy(os.path.join(BUILD, "bin", "fakeadb.exe"), os.path.join(lab.workdir, "My.exe"))
            # A run killed while writing the client, and a copy an earlier run staged.
            os.makedirs(os.path.join(temp, "adb_local"))
            with open(os.path.join(BUILD, "adb.exe"), "rb") as client, \
                    open(os.path.join(temp, "adb_local", "adb.exe"), "wb") as cut:
                cut.write(client.read()[:20000])
            stale = os.path.join(temp, "mivoraapk", "mivora_apk_0001.apk")
            os.makedirs(os.path.dirname(stale))
            write_apk(stale, "com.mivora.stale", 14)
            lab.set_windows_environment({"TEMP": lab.windows_path(temp), "TMP": lab.windows_path(temp)})
            apk = os.path.join(lab.workdir, "视频 播放器.apk")
            write_apk(apk, "com.mivora.player", 14)

            program = Program(lab, BUILD)
            self.assertTrue(program.wait_shows(READY, 60), "the box is found\n" + program.log()[-3000:])
            self.assertEqual(program.drop([apk]), "accepted")
            self.assertTrue(wait_until(lambda: program.shows(DONE), 60), program.log()[-3000:])

            self.assertEqual(list(installed_packages(lab.boxes[BOX])), ["com.mivora.player"])
            self.assertFalse(os.path.exists(os.path.join(lab.workdir, "fakeadb.calls")), "the planted program ran")
            with open(os.path.join(BUILD, "adb.exe"), "rb") as built, \
                    open(os.path.join(temp, "adb_local", "adb.exe"), "rb") as written:
                self.assertEqual(written.read(), built.read(), "the cut client was replaced")
            self.assertEqual(glob.glob(os.path.join(temp, "mivoraapk", "**", "*.apk"), recursive=True), [],
                             "the stale copy went at start-up, this install's after it ended")
            with open(program.log_path(), "rb") as log:
                text = log.read().decode("utf-8")
            self.assertIn(f'install "{lab.windows_path(temp)}\\mivoraapk\\run-', text,
                          "the log names the folder as it is")


if __name__ == "__main__":
    unittest.main()
