#!/usr/bin/python3
"""The default build (no MIVORA_ADB_DIR) carries our adb.exe as resource 20001: the program's
start-up writes it to %TEMP%\\adb_local byte for byte, with none of the DLLs Google's client needs,
and the written client installs on a simulated box."""
import glob
import os
import unittest
from pathlib import Path

from client_lab import BUILD, ClientLab, sha256
from adbbox.test_apks import write_apk
from lab import wait_until

MAIN_CLASS = "ClientFrame" + "X" * 30


class EmbeddedClientTest(unittest.TestCase):
    def test_the_program_writes_our_client_and_it_installs(self):
        with ClientLab() as lab:
            program = lab.lab.wine([os.path.join(BUILD, "MivoraBoxAssistant.exe")])
            built = Path(BUILD) / "adb.exe"

            def written():
                found = glob.glob(lab.lab.prefix_path("drive_c", "users", "*", "Temp", "adb_local", "adb.exe"))
                return found and os.path.getsize(found[0]) == built.stat().st_size and Path(found[0])

            extracted = wait_until(written, 60)
            self.assertTrue(extracted, "start-up writes adb.exe to the tools folder")
            self.assertEqual(sha256(extracted), sha256(built))
            self.assertEqual(sorted(os.listdir(extracted.parent)), ["adb.exe"])

            lab.client = extracted
            box = lab.box("mibox")
            apk = Path(lab.lab.workdir) / "app.apk"
            write_apk(apk, "com.mivora.embedded", 14)
            self.assertEqual(lab.ours("connect", box.address).stdout, f"connected to {box.serial}\n")
            result = lab.ours("-s", box.serial, "install", lab.windows_path(apk))
            self.assertEqual(result.stdout, "Performing Streamed Install\nSuccess\n")
            self.assertIn("com.mivora.embedded", box.packages())

            lab.lab.wine_output([os.path.join(BUILD, "bin", "wintool.exe"), "close", MAIN_CLASS])
            self.assertEqual(program.wait(timeout=30), 0)


if __name__ == "__main__":
    unittest.main()
