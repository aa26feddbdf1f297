#!/usr/bin/python3
"""The program as a user starts it, under Wine in a private network with loopback only: it shows
its window and writes its tools folder, a second start gives way at once, an update start waits
for the old instance to end (for a while at most) before it writes the tools folder and runs, and
closing the windows ends each instance with exit code 0."""
import glob
import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "windows"))
MAIN_CLASS = "ClientFrame" + "X" * 30


class Startup(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = Lab(BUILD).__enter__()
        cls.exe = os.path.join(BUILD, "MivoraBoxAssistant.exe")
        cls.wintool = os.path.join(BUILD, "bin", "wintool.exe")

    @classmethod
    def tearDownClass(cls):
        cls.lab.close()

    def windows(self):
        out = self.lab.wine_output([self.wintool, "count", MAIN_CLASS]).strip()
        return int(out or -1)

    def tools_folders(self):
        return glob.glob(self.lab.prefix_path("drive_c", "users", "*", "Temp", "adb_local"))

    def test_single_instance_update_instance_and_close(self):
        first = self.lab.wine([self.exe])
        self.assertTrue(wait_until(lambda: self.windows() == 1, 30), "the main window appears")
        self.assertEqual(len(self.tools_folders()), 1, "the tools folder is made under %TEMP%")
        # The task bar and Alt-Tab name the window.
        self.assertEqual(self.lab.wine_output([self.wintool, "title", MAIN_CLASS]).strip(), "Mivora Box Assistant")

        second = self.lab.wine([self.exe])
        self.assertEqual(second.wait(timeout=30), 0, "a second start ends with 0")
        self.assertEqual(self.windows(), 1, "without showing a window")
        self.assertIsNone(first.poll())

        # The instance a self-update starts lets the old one end before it touches the tools folder.
        shutil.rmtree(self.tools_folders()[0])
        updated = self.lab.wine([self.exe, "/update:1"])
        time.sleep(3)
        self.assertIsNone(updated.poll())
        self.assertEqual(self.windows(), 1, "an update start shows nothing while the old instance runs")
        self.assertEqual(self.tools_folders(), [], "nor writes the tools folder")

        self.lab.wine_output([self.wintool, "close", MAIN_CLASS])
        self.assertEqual(first.wait(timeout=30), 0)
        self.assertTrue(wait_until(lambda: self.windows() == 1, 30), "then it runs")
        self.assertEqual(len(self.tools_folders()), 1)
        # It holds the single instance now, as a first start does.
        third = self.lab.wine([self.exe])
        self.assertEqual(third.wait(timeout=30), 0)
        self.assertEqual(self.windows(), 1)

        self.lab.wine_output([self.wintool, "close", MAIN_CLASS])
        self.assertEqual(updated.wait(timeout=30), 0)
        self.assertEqual(self.windows(), 0)

    def test_an_update_start_runs_anyway_when_the_old_instance_does_not_end(self):
        first = self.lab.wine([self.exe])
        self.assertTrue(wait_until(lambda: self.windows() == 1, 30))
        started = time.monotonic()
        updated = self.lab.wine([self.exe, "/update:1"])
        self.assertTrue(wait_until(lambda: self.windows() == 2, 90), "the update start runs beside in the end")
        self.assertGreaterEqual(time.monotonic() - started, 14, "after its time limit of 15 seconds")
        self.lab.wine_output([self.wintool, "close", MAIN_CLASS])
        self.assertEqual(first.wait(timeout=30), 0)
        self.assertEqual(updated.wait(timeout=30), 0)


if __name__ == "__main__":
    unittest.main()
