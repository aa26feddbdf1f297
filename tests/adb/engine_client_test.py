#!/usr/bin/python3
"""Runs the engine's client tests (engine_client_test.exe, under Wine) with a real ADB client
against simulated boxes, everything inside a lab network, then checks what the boxes hold.

The client is given by MIVORA_CLIENT_KIND: "debian" puts a bridge to Debian's adb in the client's
place; "own" uses the project's own adb.exe."""
import os
import shutil
import subprocess
import sys
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


class EngineWithRealClient(unittest.TestCase):
    def test_engine_cases(self):
        with Lab(BUILD) as lab:
            work = lab.workdir
            client_dir = os.path.join(work, "client")
            apk_dir = os.path.join(work, "apks")
            home = os.path.join(work, "home")
            for d in (client_dir, apk_dir, home):
                os.makedirs(d)
            client = os.path.join(BUILD, "bin", "adbbridge.exe") if KIND == "debian" else os.path.join(BUILD, "adb.exe")
            shutil.copy(client, os.path.join(client_dir, "adb.exe"))

            write_apk(os.path.join(apk_dir, "good app.apk"), "com.mivora.good", 14)
            write_apk(os.path.join(apk_dir, "已装.apk"), "com.mivora.existing", 14)
            write_truncated_apk(os.path.join(apk_dir, "corrupt.apk"), "com.mivora.corrupt", 14)

            boxes = {}

            def box(address, profile, *extra):
                storage = os.path.join(work, "box-" + address)
                proc = lab.spawn(["/usr/bin/python3", os.path.join(ROOT, "tools", "boxsim", "boxsim.py"),
                                  "--address", address, "--profile", profile, "--storage", storage] + list(extra),
                                 stdout=subprocess.PIPE, text=True)
                self.assertTrue(proc.stdout.readline().startswith("ready"))
                boxes[address] = storage

            box(OLD_BOX, "mele")          # Android 4.2: refuses a reinstall without -r
            box(NEW_BOX, "mibox")         # Android 9: streamed install
            box(STALL_BOX, "generic", "--fault", "stall:60")
            for i, make in enumerate(MAKES):
                box(f"127.0.0.{10 + i}", make)

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
                "MIVORA_OLD_BOX": OLD_BOX, "MIVORA_NEW_BOX": NEW_BOX, "MIVORA_STALL_BOX": STALL_BOX,
            })
            try:
                run = lab.run_in(lab.pc, lab.wine_command([os.path.join(BUILD, "bin", "adb_client_test.exe")]),
                                 env=env, text=True, timeout=600)
                print(run.stdout[-6000:], run.stderr[-2000:])
                self.assertEqual(run.returncode, 0)

                old = packages(boxes[OLD_BOX])
                self.assertIn("com.mivora.good", old)
                self.assertIn("com.mivora.existing", old)
                self.assertNotIn("com.mivora.corrupt", old)
                self.assertIn("com.mivora.good", packages(boxes[NEW_BOX]))
            finally:
                lab.run_in(lab.pc, adb + ["kill-server"], timeout=30)


if __name__ == "__main__":
    unittest.main()
