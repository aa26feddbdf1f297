#!/usr/bin/python3
"""The program as a user starts it, under Wine in a private network with loopback only: it shows
its window and writes its tools folder, a second start gives way at once, an update start runs
beside the first, and closing the windows ends each instance with exit code 0."""
import glob
import os
import sys
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

        updated = self.lab.wine([self.exe, "/update:1"])
        self.assertTrue(wait_until(lambda: self.windows() == 2, 30), "an update start runs beside")
        self.assertIsNone(updated.poll())

        self.lab.wine_output([self.wintool, "close", MAIN_CLASS])
        self.assertEqual(first.wait(timeout=30), 0)
        self.assertEqual(updated.wait(timeout=30), 0)
        self.assertEqual(self.windows(), 0)


if __name__ == "__main__":
    unittest.main()
