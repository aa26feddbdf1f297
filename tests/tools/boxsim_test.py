"""Debian's own adb client against the simulated boxes: what the program will meet, checked on a
real peer. Runs in a private network namespace with loopback only (see adb_lab)."""

import os
import signal
import time
import unittest

from adb_lab import AdbLab
from boxsim_support import TempDirTest, first_make_fragment, sha256
from adbbox.apps import AppSpec, place_apps
from adbbox.test_apks import write_apk, write_non_apk, write_truncated_apk

MIB = 1024 * 1024
UNAUTHORIZED = ("error: device unauthorized.\n"
                "This adb server's $ADB_VENDOR_KEYS is not set\n"
                "Try 'adb kill-server' if that seems wrong.\n"
                "Otherwise check for a confirmation dialog on your device.\n")


def setUpModule():
    global lab
    lab = AdbLab().start()


def tearDownModule():
    lab.stop()


class AdbTestCase(TempDirTest):
    def apk(self, package, min_sdk=1, size=0, seed=0):
        path = self.temp / f"{package}-{seed}.apk"
        write_apk(path, package, min_sdk=min_sdk, size=size, seed=seed)
        return path

    def connected_box(self, profile, *options):
        box = lab.start_box(profile, *options)
        self.addCleanup(box.stop)
        result = lab.adb("connect", box.address)
        self.assertEqual(result.stdout, f"connected to {box.serial}\n")
        return box

    def install(self, box, path, *options):
        return lab.adb("-s", box.serial, "install", *options, path).stdout

    def installed(self, box):
        return box.packages()


class QueryTest(AdbTestCase):
    def test_model_query_as_the_program_words_it(self):
        for profile, host, model in (("mele", "MELE-SRV02", "M8 Quad"), ("mibox", "c3-miui-ota-bd98.bj", "MIBOX4")):
            with self.subTest(profile):
                box = self.connected_box(profile)
                # The program's command line, split at blanks like any argv.
                output = lab.adb("-s", box.serial, "shell", "getprop", "ro.build.host;getprop", "ro.product.model")
                self.assertEqual(output.stdout.replace("\r\n", "\n"), f"{host}\n{model}\n")
                self.assertEqual(first_make_fragment(output.stdout), {"mele": "MELE", "mibox": "mibox"}[profile])
                self.assertIn(f"{box.serial}\tdevice\n", lab.adb("devices").stdout)

    def test_old_boxes_answer_through_a_pty(self):
        box = self.connected_box("mele_a100")
        self.assertEqual(lab.adb("-s", box.serial, "shell", "getprop", "ro.product.model").stdout, "MELE_A100\r\n")

    def test_unknown_command(self):
        box = self.connected_box("mibox")
        result = lab.adb("-s", box.serial, "shell", "frobnicate", "now")
        self.assertEqual((result.stdout, result.returncode), ("/system/bin/sh: frobnicate: not found\n", 127))


class InstallTest(AdbTestCase):
    def test_push_install_on_a_box_without_cmd(self):
        box = self.connected_box("kiui")
        first = self.apk("com.mivora.push", min_sdk=19, size=5 * MIB, seed=1)
        output = self.install(box, first)
        self.assertIn("Performing Push Install\n", output)
        self.assertIn("\tpkg: /data/local/tmp/com.mivora.push-1.apk\r\nSuccess\r\n", output)
        installed = self.installed(box)
        self.assertEqual(list(installed), ["com.mivora.push"])
        self.assertLessEqual({"path": "/data/app/com.mivora.push-1.apk", "size": 5 * MIB, "minSdk": 19}.items(),
                             installed["com.mivora.push"].items())
        self.assertEqual(sha256(box.device_file("/data/app/com.mivora.push-1.apk")), sha256(first))
        self.assertEqual(list(box.device_file("/data/local/tmp").iterdir()), [], "adb's rm left the pushed copy")
        listing = lab.adb("-s", box.serial, "shell", "pm", "list", "packages", "-f").stdout
        self.assertIn("package:/data/app/com.mivora.push-1.apk=com.mivora.push\r\n", listing)

        second = self.apk("com.mivora.push", min_sdk=19, size=3 * MIB, seed=2)
        self.assertIn("Failure [INSTALL_FAILED_ALREADY_EXISTS]", self.install(box, second))
        self.assertEqual(sha256(box.device_file("/data/app/com.mivora.push-1.apk")), sha256(first))
        self.assertIn("Success", self.install(box, second, "-r"))
        self.assertEqual(sha256(box.device_file("/data/app/com.mivora.push-1.apk")), sha256(second))

    def test_streamed_install_on_a_box_with_cmd(self):
        box = self.connected_box("mibox")
        first = self.apk("com.mivora.stream", min_sdk=21, size=9 * MIB + 123, seed=3)
        self.assertEqual(self.install(box, first), "Performing Streamed Install\nSuccess\n")
        apk_file = box.device_file("/data/app/com.mivora.stream-1/base.apk")
        self.assertEqual(sha256(apk_file), sha256(first))
        second = self.apk("com.mivora.stream", min_sdk=21, size=MIB, seed=4)
        self.assertEqual(self.install(box, second), "Performing Streamed Install\nSuccess\n")
        self.assertEqual(sha256(apk_file), sha256(second))
        self.assertEqual(self.installed(box)["com.mivora.stream"]["size"], MIB)
        self.assertEqual(sorted(path.name for path in box.device_file("/data/app").iterdir()),
                         ["com.mivora.stream-1"], "temporary files left behind")

    def test_uninstall(self):
        for profile, line_end in (("letv", "\r\n"), ("mygica", "\n")):
            with self.subTest(profile):
                box = self.connected_box(profile)
                self.assertIn("Success", self.install(box, self.apk("com.mivora.gone")))
                removed = lab.adb("-s", box.serial, "uninstall", "com.mivora.gone")
                self.assertEqual(removed.stdout, "Success" + line_end)
                self.assertEqual(self.installed(box), {})
                again = lab.adb("-s", box.serial, "uninstall", "com.mivora.gone")
                self.assertEqual(again.stdout, "Failure [DELETE_FAILED_INTERNAL_ERROR]" + line_end)

    def test_failure_codes_on_both_install_paths(self):
        not_apk, truncated = self.temp / "note.apk", self.temp / "cut.apk"
        write_non_apk(not_apk)
        write_truncated_apk(truncated, "com.mivora.cut")
        for profile, sdk in (("i5d", 16), ("mygica", 25)):
            box = self.connected_box(profile, "--capacity", "1M")
            cases = ((not_apk, "INSTALL_FAILED_INVALID_APK"), (truncated, "INSTALL_FAILED_INVALID_APK"),
                     (self.apk("com.mivora.newer", min_sdk=sdk + 1), "INSTALL_FAILED_OLDER_SDK"),
                     (self.apk("com.mivora.huge", size=2 * MIB), "INSTALL_FAILED_INSUFFICIENT_STORAGE"))
            for path, code in cases:
                with self.subTest(profile=profile, code=code, apk=path.name):
                    output = self.install(box, path)
                    self.assertIn(f"Failure [{code}", output)
                    self.assertNotIn("Success", output)
            self.assertEqual(self.installed(box), {})


    def test_what_the_apk_brings_against_the_apps_on_the_box(self):
        # An app at version 5 signed by "vendor" that defines a permission; each APK below meets it,
        # pushed to a box before Android 7, streamed to one from Android 7 on.
        paths = {}
        for name, options in (("older", dict(package="com.mivora.tv", version_code=4, signer="vendor")),
                              ("resigned", dict(package="com.mivora.tv", version_code=6, signer="someone")),
                              ("x86", dict(package="com.mivora.x86", abis=("x86",))),
                              ("permission", dict(package="com.mivora.copy",
                                                  permissions=("com.mivora.permission.REMOTE",)))):
            paths[name] = self.temp / f"{name}.apk"
            write_apk(paths[name], **options)
        expected = {"generic": ("Failure [INSTALL_FAILED_VERSION_DOWNGRADE]", "Failure [INSTALL_FAILED_UPDATE_INCOMPATIBLE]",
                                "Failure [INSTALL_FAILED_NO_MATCHING_ABIS]",
                                "Failure [INSTALL_FAILED_DUPLICATE_PERMISSION]"),
                    "mygica": ("Failure [INSTALL_FAILED_VERSION_DOWNGRADE]",
                               "Failure [INSTALL_FAILED_UPDATE_INCOMPATIBLE: Package com.mivora.tv signatures do not "
                               "match the previously installed version; ignoring!]",
                               "Failure [INSTALL_FAILED_NO_MATCHING_ABIS: Failed to extract native libraries, "
                               "res=-113]",
                               "Failure [INSTALL_FAILED_DUPLICATE_PERMISSION: Package com.mivora.copy attempting to "
                               "redeclare permission com.mivora.permission.REMOTE already owned by com.mivora.tv]")}
        for profile, verdicts in expected.items():
            with self.subTest(profile):
                storage = self.temp / profile
                place_apps(storage, profile, [AppSpec("com.mivora.tv", version_code=5, signer="vendor",
                                                      permissions=("com.mivora.permission.REMOTE",))])
                box = lab.start_box(profile, storage=storage)
                self.addCleanup(box.stop)
                lab.adb("connect", box.address)
                for path, verdict in zip(paths.values(), verdicts):
                    output = self.install(box, path, "-r")
                    self.assertIn(verdict + "\n", output.replace("\r", ""), path.name)
                self.assertIn("Success", self.install(box, paths["older"], "-r", "-d"))
                self.assertEqual(box.packages()["com.mivora.tv"]["versionCode"], 4)
                self.assertEqual(set(box.packages()), {"com.mivora.tv"})


class FileTransferTest(AdbTestCase):
    def test_push_list_and_pull_back(self):
        box = self.connected_box("letv")
        original = self.temp / "data.bin"
        original.write_bytes(os.urandom(700_000))
        self.assertEqual(lab.adb("-s", box.serial, "push", original, "/sdcard/Movies/data.bin").returncode, 0)
        self.assertEqual(box.device_file("/sdcard/Movies/data.bin").read_bytes(), original.read_bytes())
        listing = lab.adb("-s", box.serial, "ls", "/sdcard/Movies").stdout
        self.assertRegex(listing, r"(?m)^000081a4 000aae60 [0-9a-f]{8} data\.bin$")
        copy = self.temp / "copy.bin"
        self.assertEqual(lab.adb("-s", box.serial, "pull", "/sdcard/Movies/data.bin", copy).returncode, 0)
        self.assertEqual(copy.read_bytes(), original.read_bytes())

    def test_push_where_the_shell_user_may_not_write(self):
        box = self.connected_box("letv")
        original = self.temp / "data.bin"
        original.write_bytes(b"payload")
        result = lab.adb("-s", box.serial, "push", original, "/system/app/data.bin")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("Permission denied", result.stdout)


class AuthorisationTest(AdbTestCase):
    def test_trusted_adb_key(self):
        box = self.connected_box("generic", "--auth", "trusted", "--trust-key", lab.adb_public_key)
        self.assertEqual(lab.adb("-s", box.serial, "shell", "echo", "in").stdout, "in\r\n")

    def test_unknown_key_refused_outright(self):
        box = lab.start_box("generic", "--auth", "trusted")
        self.addCleanup(box.stop)
        self.assertEqual(lab.adb("connect", box.address).stdout, f"failed to authenticate to {box.serial}\n")
        result = lab.adb("-s", box.serial, "shell", "echo", "in")
        self.assertNotEqual(result.returncode, 0)
        self.assertRegex(result.stdout, r"^error: device (offline|unauthorized)")

    def test_unknown_key_accepted_by_the_user_is_kept(self):
        box = lab.start_box("mibox", "--auth", "ask-accept", "--ask-delay", "1")
        self.addCleanup(box.stop)
        self.assertEqual(lab.adb("connect", box.address).stdout, f"failed to authenticate to {box.serial}\n")
        self.assertEqual(lab.adb("-s", box.serial, "shell", "echo", "in").stdout, UNAUTHORIZED)
        lab.adb("-s", box.serial, "wait-for-device", timeout=20)
        self.assertEqual(lab.adb("-s", box.serial, "shell", "echo", "in").stdout, "in\n")
        self.assertEqual((box.storage / "adb_keys").read_text().split()[0], lab.adb_public_key.read_text().split()[0])

        box.stop()  # the same box again, now without a user to ask: it must remember the key
        again = lab.start_box("mibox", "--auth", "trusted", storage=box.storage)
        self.addCleanup(again.stop)
        self.assertEqual(lab.adb("connect", again.address).stdout, f"connected to {again.serial}\n")

    def test_unknown_key_rejected_by_the_user(self):
        box = lab.start_box("mibox", "--auth", "ask-reject", "--ask-delay", "0.5")
        self.addCleanup(box.stop)
        self.assertEqual(lab.adb("connect", box.address).stdout, f"failed to authenticate to {box.serial}\n")
        time.sleep(1)
        result = lab.adb("-s", box.serial, "shell", "echo", "in")
        self.assertNotEqual(result.returncode, 0)
        self.assertFalse((box.storage / "adb_keys").exists())

    def test_unknown_key_never_answered(self):
        box = lab.start_box("mibox", "--auth", "ask-never")
        self.addCleanup(box.stop)
        self.assertEqual(lab.adb("connect", box.address).stdout, f"failed to authenticate to {box.serial}\n")
        self.assertEqual(lab.adb("-s", box.serial, "shell", "echo", "in").stdout, UNAUTHORIZED)
        self.assertIn(f"{box.serial}\tunauthorized\n", lab.adb("devices").stdout)


    def test_authorisations_revoked_by_the_user(self):
        box = lab.start_box("mibox", "--auth", "ask-accept", "--ask-delay", "0.5")
        self.addCleanup(box.stop)
        lab.adb("connect", box.address)
        lab.adb("-s", box.serial, "wait-for-device", timeout=20)
        self.assertEqual(lab.adb("-s", box.serial, "shell", "echo", "in").stdout, "in\n")
        self.assertTrue((box.storage / "adb_keys").exists())
        box.process.send_signal(signal.SIGUSR1)
        # The connection ends; each new one is put to the user, who turns it down.
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            result = lab.adb("-s", box.serial, "shell", "echo", "in")
            if result.stdout != "in\n":
                break
            time.sleep(0.5)
        self.assertRegex(result.stdout, r"^error: (device (offline|unauthorized)|closed|device '.*' not found)")
        self.assertFalse((box.storage / "adb_keys").exists())


class FaultTest(AdbTestCase):
    def test_closed_port(self):
        box = lab.start_box("generic", "--fault", "refuse")
        self.addCleanup(box.stop)
        self.assertEqual(lab.adb("connect", box.address).stdout,
                         f"failed to connect to '{box.serial}': Connection refused\n")

    def test_connection_closed_or_reset_at_once(self):
        for fault in ("close", "reset"):
            with self.subTest(fault):
                box = lab.start_box("generic", "--fault", fault)
                self.addCleanup(box.stop)
                # A reset that overtakes the client's own connect is reported as the connect's error.
                allowed = {f"failed to connect to {box.serial}\n"}
                if fault == "reset":
                    allowed.add(f"failed to connect to '{box.serial}': Connection reset by peer\n")
                self.assertIn(lab.adb("connect", box.address).stdout, allowed)

    def test_stall_before_the_handshake(self):
        box = lab.start_box("mibox", "--fault", "stall:3")
        self.addCleanup(box.stop)
        started = time.monotonic()
        self.assertEqual(lab.adb("connect", box.address).stdout, f"connected to {box.serial}\n")
        self.assertGreaterEqual(time.monotonic() - started, 3)

    def test_stall_before_each_service(self):
        box = self.connected_box("mibox", "--fault", "stall-service:2")
        started = time.monotonic()
        self.assertEqual(lab.adb("-s", box.serial, "shell", "getprop", "ro.product.model").stdout, "MIBOX4\n")
        self.assertGreaterEqual(time.monotonic() - started, 2)

    def test_connection_dropped_during_the_transfer(self):
        for profile, message in (("kiui", "adb: error: failed to copy"), ("mibox", "adb: failed to install")):
            with self.subTest(profile):
                box = self.connected_box(profile, "--fault", "drop:300000")
                result = lab.adb("-s", box.serial, "install", self.apk("com.mivora.cut", size=2 * MIB))
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(message, result.stdout)
                self.assertNotIn("Success", result.stdout)
                self.assertEqual(self.installed(box), {})
                leftovers = [path for folder in ("/data/local/tmp", "/data/app")
                             for path in box.device_file(folder).iterdir()]
                self.assertEqual(leftovers, [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
