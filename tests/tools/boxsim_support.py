"""What the simulator's tests share: the way to its package, and small helpers."""

import hashlib
import os
import shutil
import sys
import tempfile
import unittest
from pathlib import Path

BOXSIM_DIR = Path(__file__).resolve().parents[2] / "tools" / "boxsim"
sys.path.insert(0, str(BOXSIM_DIR))
sys.path.insert(0, str(BOXSIM_DIR.parent / "lab"))

ADB = "/usr/lib/android-sdk/platform-tools/adb"
FRAMEWORK_RES = "/usr/share/android-framework-res/framework-res.apk"

# The make table of the program, in the order it is tried: each simulated make must be found by
# the fragment meant for it, and no earlier one.
MAKE_FRAGMENTS = ("mele_a100", "MELE", "kiui", "full aosp on godbox", "letv", "mygica", "i5d", "mibox")


def first_make_fragment(text):
    return next((fragment for fragment in MAKE_FRAGMENTS if fragment.lower() in text.lower()), None)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as data:
        for block in iter(lambda: data.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


class TempDirTest(unittest.TestCase):
    def setUp(self):
        self.temp = Path(tempfile.mkdtemp(prefix="boxsim-test-"))
        self.addCleanup(shutil.rmtree, self.temp, True)

    def tool(self, name):
        path = shutil.which(name) or (ADB if name == "adb" and os.path.exists(ADB) else None)
        if path is None:
            self.fail(f"{name} is not installed (tools/deps installs it)")
        return path
