#!/usr/bin/python3
"""The program under Wine against boxes that misbehave in every way the simulator can, one fault per
run (the fault's name is the first argument). Whatever the box does, the page reaches a state the
user can act on, no client process is left running, no staged copy is left behind, and the next
action works: a good box beside a broken one is found and takes an install, a box that fails one
install takes the next one that it can, a box that cannot take any still brings the page to its
result every time."""
import glob
import os
import re
import sys
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import DONE, READY, Program  # noqa: E402
from screen import LINK_RGB  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402
from adbbox.test_apks import write_apk  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
SUBNET = "10.231.83"
BROKEN, GOOD = f"{SUBNET}.150", f"{SUBNET}.151"
BIG = 3 * 1024 * 1024

# name: (the broken box's arguments, what it does to the program)
#   beside: the box never becomes usable; a good box beside it must be found and take an install
#   partly: an install that meets the fault fails, a small one afterwards succeeds
#   never:  an install fails (at the latest at the engine's or the client's time limit), and the
#           next drop starts the next install at once
#   slow:   the box is slow but works
FAULTS = {
    "refuse": (["--fault", "refuse"], "beside"),
    "reset": (["--fault", "reset"], "beside"),
    "close": (["--fault", "close"], "beside"),
    "stall-before-handshake": (["--fault", "stall:40"], "beside"),
    "unauthorized-never-answered": (["--auth", "ask-never"], "beside"),
    "unauthorized-refused": (["--auth", "ask-reject"], "beside"),
    "hang-after-handshake": (["--fault", "hang"], "never"),
    "drop-mid-install": (["--fault", "drop:1000000"], "partly"),
    "storage-full": (["--capacity", "2M"], "partly"),
    "flood": (["--fault", "flood"], "never"),
    "flood-upload": (["--fault", "flood-upload:64"], "never"),
    "trickle": (["--fault", "trickle"], "never"),
    "stall-service": (["--fault", "stall-service:3"], "slow"),
}
FAULT = os.environ.get("FAULT") or (sys.argv.pop(1) if len(sys.argv) > 1 else "drop-mid-install")


class FaultMatrix(unittest.TestCase):
    def setUp(self):
        self.args, self.kind = FAULTS[FAULT]

    def lab_config(self):
        boxes = [{"host": 150, "profile": "mibox", "args": self.args}]
        if self.kind == "beside":
            boxes.append({"host": 151, "profile": "letv"})
        return {"adapters": [{"subnet": SUBNET, "boxes": boxes}]}

    def install(self, program, apk, succeeds, limit):
        """Drops apk; waits for the page's result and checks what it says and what is left behind."""
        installs = len(program.commands(" install "))
        self.assertEqual(program.drop([apk]), "accepted")
        ended = wait_until(lambda: len(program.commands(" install ")) > installs and
                           (program.shows(DONE) or program.colour_runs(LINK_RGB, 355, 385)), limit, interval=0.5)
        self.assertTrue(ended, f"{FAULT}: the batch reaches its result\n" + program.log()[-3000:])
        self.assertEqual(program.shows(DONE), succeeds, f"{FAULT}: the page tells the outcome")
        self.assertNoneLeft()

    def assertNoneLeft(self):
        self.assertTrue(wait_until(lambda: self.clients() == [], 30),
                        f"{FAULT}: client processes left: {self.clients()}\n" + self.program.log()[-3000:])
        staged = lambda: glob.glob(os.path.join(self.temp, "mivoraapk", "**", "*.apk"), recursive=True)  # noqa: E731
        self.assertTrue(wait_until(lambda: staged() == [], 30), f"{FAULT}: staged copies left: {staged()}")

    def clients(self):
        output = self.lab.wine_output([os.path.join(BUILD, "bin", "procstat.exe"), "adb.exe"])
        return re.findall(r"^\d+", output, re.M)

    def test_the_page_reaches_a_result_and_the_next_action_works(self):
        with Lab(BUILD, self.lab_config()) as lab:
            self.lab = lab
            self.temp = os.path.join(lab.workdir, "temp")
            os.makedirs(self.temp)
            lab.set_windows_environment({"TEMP": lab.windows_path(self.temp), "TMP": lab.windows_path(self.temp)})
            small, big = os.path.join(lab.workdir, "small.apk"), os.path.join(lab.workdir, "big.apk")
            write_apk(small, "com.mivora.small", 14)
            write_apk(big, "com.mivora.big", 14, size=BIG)
            program = self.program = Program(lab, BUILD)
            # A connected box is ready at once; a query it never answers (or floods) runs on until
            # the engine's limit for a command, and the box's first install waits behind it.
            self.assertTrue(program.wait_shows(READY, 240), f"{FAULT}: a box is ready\n" + program.log()[-3000:])

            if self.kind == "beside":
                self.assertTrue(wait_until(lambda: program.commands(f"{GOOD}:5555 shell getprop"), 60))
                self.assertEqual(program.commands(f"{BROKEN}:5555 shell getprop"), [],
                                 f"{FAULT}: the broken box is not the one installed to")
                self.install(program, small, True, 240)
                self.assertIn("com.mivora.small", installed_packages(lab.boxes[GOOD]))
            elif self.kind == "partly":
                self.install(program, big, False, 360)
                self.install(program, small, True, 240)
                self.assertEqual(list(installed_packages(lab.boxes[BROKEN])), ["com.mivora.small"])
            elif self.kind == "never":
                self.install(program, small, False, 900)
                self.assertEqual(installed_packages(lab.boxes[BROKEN]), {})
                self.assertEqual(program.drop([big]), "accepted")
                self.assertTrue(wait_until(lambda: len(program.commands(" install ")) == 2, 30),
                                f"{FAULT}: the next drop starts its install\n" + program.log()[-3000:])
            else:
                self.install(program, big, True, 240)
                self.assertIn("com.mivora.big", installed_packages(lab.boxes[BROKEN]))
            program.stop()


if __name__ == "__main__":
    unittest.main()
