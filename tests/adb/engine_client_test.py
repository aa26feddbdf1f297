#!/usr/bin/python3
"""Runs the engine's client tests (engine_client_test.exe, under Wine) with a real ADB client
against simulated boxes, everything inside a lab network, then checks what the boxes hold.

The client is given by MIVORA_CLIENT_KIND: "debian" puts a bridge to Debian's adb in the client's
place; "own" uses the project's own adb.exe, which also meets hostile boxes (they flood, hang,
trickle, or flood an upload) while the memory of every client run is watched from outside."""
import os
import shutil
import subprocess
import sys
import threading
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab  # noqa: E402
from adbbox.storage import installed_packages as packages  # noqa: E402
from adbbox.test_apks import write_apk, write_truncated_apk  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
KIND = os.environ.get("MIVORA_CLIENT_KIND", "debian")
MAKES = ["mele_a100", "mele", "kiui", "godbox", "letv", "mygica", "i5d", "mibox", "generic"]
OLD_BOX, NEW_BOX, STALL_BOX = "127.0.0.2", "127.0.0.3", "127.0.0.4"
# Boxes that make an install fail for a reason: too little room, a user who never allows debugging,
# a link that breaks in the middle of an upload.
FULL_BOX, UNAUTHORIZED_BOX, DROPPING_BOX = "127.0.0.5", "127.0.0.6", "127.0.0.7"
HOSTILE_BOXES = {  # environment name: (address, profile, fault)
    "MIVORA_FLOOD_BOX": ("127.0.0.30", "generic", "flood"),
    "MIVORA_HANG_BOX": ("127.0.0.31", "generic", "hang"),
    "MIVORA_TRICKLE_BOX": ("127.0.0.32", "generic", "trickle"),
    "MIVORA_FLOOD_UPLOAD_BOX": ("127.0.0.33", "mibox", "flood-upload:16"),
}
# What one client run may hold at most, whatever a box sends it.
CLIENT_PEAK_LIMIT_MB = 64


class PeakMemory:
    """The largest resident size any process of the client reached, sampled from /proc."""

    def __init__(self, marker):
        self.marker = marker.encode()
        self.peak_kb = 0
        self.samples = 0
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._watch, daemon=True)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._stop.set()
        self._thread.join()

    def _watch(self):
        while not self._stop.wait(0.05):
            for pid in filter(str.isdigit, os.listdir("/proc")):
                try:
                    with open(f"/proc/{pid}/cmdline", "rb") as f:
                        if self.marker not in f.read():
                            continue
                    with open(f"/proc/{pid}/status") as f:
                        for line in f:
                            if line.startswith("VmHWM:"):
                                self.peak_kb = max(self.peak_kb, int(line.split()[1]))
                                self.samples += 1
                except OSError:
                    pass


class EngineWithRealClient(unittest.TestCase):
    def test_engine_cases(self):
        with Lab(BUILD) as lab:
            work = lab.workdir
            client_dir = os.path.join(work, "client")
            apk_dir = os.path.join(work, "apks")
            home = os.path.join(work, "home")
            export_dir = os.path.join(work, "export")
            for d in (client_dir, apk_dir, home, export_dir):
                os.makedirs(d)
            client = os.path.join(BUILD, "bin", "adbbridge.exe") if KIND == "debian" else os.path.join(BUILD, "adb.exe")
            shutil.copy(client, os.path.join(client_dir, "adb.exe"))

            write_apk(os.path.join(apk_dir, "good app.apk"), "com.mivora.good", 14)
            write_apk(os.path.join(apk_dir, "已装.apk"), "com.mivora.existing", 14)
            write_truncated_apk(os.path.join(apk_dir, "corrupt.apk"), "com.mivora.corrupt", 14)
            write_apk(os.path.join(apk_dir, "needs android 8.apk"), "com.mivora.oreo", 26)
            write_apk(os.path.join(apk_dir, "half.apk"), "com.mivora.half", 14, size=512 * 1024)

            boxes = {}

            def box(address, profile, *extra):
                storage = os.path.join(work, "box-" + address)
                proc = lab.spawn(["/usr/bin/python3", os.path.join(ROOT, "tools", "boxsim", "boxsim.py"),
                                  "--address", address, "--profile", profile, "--storage", storage] + list(extra),
                                 stdout=subprocess.PIPE, text=True)
                self.assertTrue(proc.stdout.readline().startswith("ready"))
                boxes[address] = storage

            # Both with a dozen apps placed beforehand; the newer one's policy keeps one of them.
            box(OLD_BOX, "mele", "--apps", "12")  # Android 4.2: refuses a reinstall without -r, no cmd
            box(NEW_BOX, "mibox", "--apps", "12", "--fault", "keep:com.example.app002")  # Android 9: streamed
            box(STALL_BOX, "generic", "--fault", "stall:60")
            box(FULL_BOX, "mibox", "--capacity", "64K")
            box(UNAUTHORIZED_BOX, "mibox", "--auth", "ask-never")
            box(DROPPING_BOX, "mibox", "--fault", "drop:131072")
            for i, make in enumerate(MAKES):
                box(f"127.0.0.{10 + i}", make)
            hostile = KIND == "own"
            if hostile:
                for address, profile, fault in HOSTILE_BOXES.values():
                    box(address, profile, "--fault", fault)
                write_apk(os.path.join(apk_dir, "eight.apk"), "com.mivora.eight", 14, size=8 * 1024 * 1024)

            # The "already installed" package is on the old box before the batch.
            env = lab.wine_env({"HOME": home, "ANDROID_ADB_SERVER_PORT": "5038"})
            adb = ["env", f"HOME={home}", "ANDROID_ADB_SERVER_PORT=5038", "/usr/lib/android-sdk/platform-tools/adb"]
            lab.run_in(lab.pc, adb + ["connect", OLD_BOX], timeout=60)
            pre = lab.run_in(lab.pc, adb + ["-s", OLD_BOX + ":5555", "install", os.path.join(apk_dir, "已装.apk")],
                             text=True, timeout=60)
            self.assertIn("Success", pre.stdout)

            env.update({
                "MIVORA_CLIENT": lab.windows_path(os.path.join(client_dir, "adb.exe")),
                "MIVORA_APK_DIR": lab.windows_path(apk_dir),
                "MIVORA_EXPORT_DIR": lab.windows_path(export_dir),
                "MIVORA_OLD_BOX": OLD_BOX, "MIVORA_NEW_BOX": NEW_BOX, "MIVORA_STALL_BOX": STALL_BOX,
                "MIVORA_FULL_BOX": FULL_BOX, "MIVORA_UNAUTHORIZED_BOX": UNAUTHORIZED_BOX,
                "MIVORA_DROPPING_BOX": DROPPING_BOX, "MIVORA_CLIENT_KIND": KIND,
            })
            env.update({name: address for name, (address, _, _) in HOSTILE_BOXES.items()})
            # Debian's client behind its bridge writes what a box sends to a file until it is done:
            # a flooding box would fill the disk.
            tests = [] if hostile else ["--gtest_filter=-*Hostile*"]
            try:
                with PeakMemory(os.path.join(client_dir, "adb.exe").replace("/", "\\")) as memory:
                    run = lab.run_in(lab.pc, lab.wine_command([os.path.join(BUILD, "bin", "adb_client_test.exe")] + tests),
                                     env=env, text=True, timeout=900)
                print(run.stdout[-6000:], run.stderr[-2000:])
                self.assertEqual(run.returncode, 0)
                if hostile:
                    print(f"largest client run: {memory.peak_kb / 1024:.1f} MB")
                    self.assertGreater(memory.samples, 0, "no client run was seen")
                    self.assertLess(memory.peak_kb / 1024, CLIENT_PEAK_LIMIT_MB, "a client's peak memory")

                old = packages(boxes[OLD_BOX])
                self.assertIn("com.mivora.good", old)
                self.assertIn("com.mivora.existing", old)
                self.assertNotIn("com.mivora.corrupt", old)
                self.assertIn("com.mivora.good", packages(boxes[NEW_BOX]))
            finally:
                lab.run_in(lab.pc, adb + ["kill-server"], timeout=30)


if __name__ == "__main__":
    unittest.main()
