#!/usr/bin/python3
"""The project's adb.exe under Wine against simulated boxes, inside a lab network: every command,
both install paths, each way a box may treat our key, each fault of the simulator, and hosts that
are no ADB device at all."""
import os
import shutil
import time
import unittest

from client_lab import ClientLab, sha256
from adbbox.test_apks import write_apk, write_non_apk, write_truncated_apk

MIB = 1024 * 1024
UNAUTHORIZED = ("error: device unauthorized.\n"
                "This adb server's $ADB_VENDOR_KEYS is not set\n"
                "Try 'adb kill-server' if that seems wrong.\n"
                "Otherwise check for a confirmation dialog on your device.\n")
REFUSED = "No connection could be made because the target machine actively refused it. (10061)"


def setUpModule():
    global lab
    lab = ClientLab().__enter__()


def tearDownModule():
    lab.__exit__(None, None, None)


class ClientTest(unittest.TestCase):
    def setUp(self):
        lab.ours("disconnect")  # each test starts with no box known

    def apk(self, name, package, min_sdk=14, size=0, seed=0):
        folder = os.path.join(lab.lab.workdir, f"apks-{seed}")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        write_apk(path, package, min_sdk, size=size, seed=seed)
        return path

    def connected(self, profile, *options):
        box = lab.box(profile, *options)
        self.addCleanup(box.stop)
        self.assertEqual(lab.ours("connect", box.address).stdout, f"connected to {box.serial}\n")
        return box

    def install(self, box, path, *options):
        return lab.ours("-s", box.serial, "install", *options, lab.windows_path(path))


class CommandTest(ClientTest):
    def test_connect_query_list_and_forget(self):
        old, new = self.connected("mele"), self.connected("mibox")
        again = lab.ours("connect", old.address)
        self.assertEqual((again.stdout, again.returncode), (f"already connected to {old.serial}\n", 0))
        # The program's model query, split into arguments as Windows splits its command line.
        query = ("shell", "getprop", "ro.build.host;getprop", "ro.product.model")
        self.assertEqual(lab.ours("-s", old.serial, *query).stdout, "MELE-SRV02\r\nM8 Quad\r\n")
        self.assertEqual(lab.ours("-s", new.serial, *query).stdout, "c3-miui-ota-bd98.bj\nMIBOX4\n")
        # Exit status travels only with shell protocol v2.
        self.assertEqual(lab.ours("-s", new.serial, "shell", "nosuch").returncode, 127)
        self.assertEqual(lab.ours("-s", old.serial, "shell", "nosuch").returncode, 0)

        listing = lab.ours("devices").stdout
        self.assertTrue(listing.startswith("List of devices attached\n") and listing.endswith("\n\n"), listing)
        self.assertIn(f"{old.serial}\tdevice\n", listing)
        self.assertIn(f"{new.serial}\tdevice\n", listing)
        gone = lab.ours("disconnect", old.address)
        self.assertEqual((gone.stdout, gone.returncode), (f"disconnected {old.address}\n", 0))
        self.assertNotIn(old.serial, lab.ours("devices").stdout)
        twice = lab.ours("disconnect", old.address)
        self.assertEqual((twice.stderr, twice.returncode), (f"error: no such device '{old.serial}'\n", 1))

        # Without -s, the one box connected before.
        self.assertEqual(lab.ours("shell", "getprop", "ro.product.model").stdout, "MIBOX4\n")
        lab.ours("connect", old.address)
        self.assertEqual(lab.ours("shell", "echo").stderr, "error: more than one device/emulator\n")
        everything = lab.ours("disconnect")
        self.assertEqual(everything.stdout, "disconnected everything\n")
        self.assertEqual(lab.ours("devices").stdout, "List of devices attached\n\n")
        self.assertEqual(lab.ours("shell", "echo").stderr, "error: no devices/emulators found\n")

    def test_commands_without_a_box(self):
        for words in (("start-server",), ("kill-server",)):
            result = lab.ours(*words)
            self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""), words)
        version = lab.ours("version")
        self.assertEqual(version.returncode, 0)
        self.assertRegex(version.stdout, r"^Android Debug Bridge version 1\.0\.41\nVersion [0-9.]+-mivora\n"
                                         r"Installed as [A-Z]:\\.*\\adb\.exe\n$")
        help_text = lab.ours("help")
        self.assertEqual(help_text.returncode, 0)
        self.assertIn("Time limits:", help_text.stdout)
        for words, message in ((("frobnicate",), "adb: unknown command frobnicate\n"),
                               ((), "adb: no command given; 'adb help' lists the commands\n"),
                               (("connect",), "adb: usage: adb connect <host>[:<port>]\n"),
                               (("connect", "host:99999"), "adb: bad address 'host:99999' (HOST or HOST:PORT)\n")):
            result = lab.ours(*words)
            self.assertEqual((result.stderr, result.returncode), (message, 1), words)

    def test_a_name_that_does_not_resolve(self):
        # Only inside the lab, whose network has no name server to ask.
        result = lab.ours("connect", "no-such-box.invalid")
        self.assertEqual(result.returncode, 0)
        self.assertTrue(result.stdout.startswith("failed to resolve host: 'no-such-box.invalid': "), result.stdout)
        self.assertNotIn("connected", result.stdout)

    def test_devices_tells_each_state_without_asking_anyone(self):
        online = self.connected("generic")
        gone = self.connected("generic")
        waiting = lab.box("mibox", "--auth", "ask-never")
        self.addCleanup(waiting.stop)
        lab.ours("connect", waiting.address)
        gone.stop()
        started = time.monotonic()
        listing = lab.ours("devices").stdout
        self.assertIn(f"{online.serial}\tdevice\n", listing)
        self.assertIn(f"{gone.serial}\toffline\n", listing)
        self.assertIn(f"{waiting.serial}\tunauthorized\n", listing)
        self.assertLess(time.monotonic() - started, 20, "a listing waited for a user's answer")
        self.assertEqual(waiting.accepted_keys(), [])


class InstallTest(ClientTest):
    def test_streamed_install_with_blanks_and_chinese_in_the_path(self):
        box = self.connected("mibox")
        apk = self.apk("新 应用 1.apk", "com.mivora.stream", size=3 * MIB + 17, seed=1)
        result = self.install(box, apk)
        self.assertEqual((result.stdout, result.stderr, result.returncode),
                         ("Performing Streamed Install\nSuccess\n", "", 0))
        self.assertEqual(sha256(box.device_file("/data/app/com.mivora.stream-1/base.apk")), sha256(apk))
        self.assertEqual(box.leftovers(), [])

    def test_push_install_cleans_up_and_old_boxes_need_replace(self):
        box = self.connected("kiui")
        first = self.apk("my app.apk", "com.mivora.push", size=2 * MIB + 5, seed=2)
        result = self.install(box, first)
        self.assertEqual(result.returncode, 0, result.output)
        self.assertRegex(result.stdout, r"^Performing Push Install\n.*my app\.apk: 1 file pushed, 0 skipped\. "
                                        r"[0-9.]+ MB/s \(2097157 bytes in [0-9.]+s\)\n"
                                        r"\tpkg: /data/local/tmp/my app\.apk\r\nSuccess\r\n$")
        installed = box.device_file("/data/app/com.mivora.push-1.apk")
        self.assertEqual(sha256(installed), sha256(first))
        self.assertEqual(box.leftovers(), [])

        second = self.apk("my app.apk", "com.mivora.push", size=MIB, seed=3)
        refused = self.install(box, second)
        self.assertIn("Failure [INSTALL_FAILED_ALREADY_EXISTS]\r\n", refused.stdout)
        self.assertEqual(refused.returncode, 1, "a refused install must not end with 0")
        self.assertEqual(sha256(installed), sha256(first))
        replaced = self.install(box, second, "-r")
        self.assertEqual(replaced.returncode, 0)
        self.assertEqual(sha256(installed), sha256(second))
        self.assertEqual(box.leftovers(), [])

    def test_the_package_managers_refusals_on_both_paths(self):
        broken, text = os.path.join(lab.lab.workdir, "broken.apk"), os.path.join(lab.lab.workdir, "note.apk")
        write_truncated_apk(broken, "com.mivora.broken")
        write_non_apk(text)
        for profile, sdk, stream in (("mele", 17, "stderr"), ("mygica", 25, "stderr")):
            box = self.connected(profile)
            newer = self.apk(f"newer{sdk}.apk", "com.mivora.newer", min_sdk=sdk + 1)
            for apk, code in ((broken, "INSTALL_FAILED_INVALID_APK"), (text, "INSTALL_FAILED_INVALID_APK"),
                              (newer, "INSTALL_FAILED_OLDER_SDK")):
                with self.subTest(profile=profile, code=code):
                    result = self.install(box, apk)
                    self.assertIn(f"Failure [{code}", result.output)
                    self.assertNotIn("Success", result.output)
                    self.assertEqual(result.returncode, 1)
            self.assertEqual(box.packages(), {})
            self.assertEqual(box.leftovers(), [])

    def test_local_file_problems_are_named_before_the_box_is_asked(self):
        box = self.connected("mibox")
        folder = os.path.join(lab.lab.workdir, "folder.apk")
        os.makedirs(folder)
        readme = os.path.join(lab.lab.workdir, "readme.txt")
        open(readme, "w").close()
        missing = lab.windows_path(os.path.join(lab.lab.workdir, "缺少 的.apk"))
        cases = ((missing, f"adb: failed to stat {missing}: No such file or directory\n"),
                 (lab.windows_path(folder), None),
                 (lab.windows_path(readme), f"adb: filename doesn't end .apk: {lab.windows_path(readme)}\n"))
        for path, message in cases:
            result = lab.ours("-s", box.serial, "install", path)
            self.assertEqual(result.returncode, 1, path)
            self.assertEqual(result.stdout, "", path)
            if message:
                self.assertEqual(result.stderr, message)
            else:
                self.assertTrue(result.stderr.startswith(f"adb: failed to stat {path}: "), result.stderr)
        self.assertEqual(box.packages(), {})

    def test_uninstall_on_both_kinds_of_box(self):
        for profile, line_end in (("letv", "\r\n"), ("mygica", "\n")):
            with self.subTest(profile):
                box = self.connected(profile)
                self.assertEqual(self.install(box, self.apk("gone.apk", "com.mivora.gone")).returncode, 0)
                removed = lab.ours("-s", box.serial, "uninstall", "com.mivora.gone")
                self.assertEqual((removed.stdout, removed.returncode), ("Success" + line_end, 0))
                self.assertEqual(box.packages(), {})
                again = lab.ours("-s", box.serial, "uninstall", "com.mivora.gone")
                self.assertEqual((again.stdout, again.returncode),
                                 ("Failure [DELETE_FAILED_INTERNAL_ERROR]" + line_end, 1))


class AuthorisationTest(ClientTest):
    def test_a_box_that_trusts_our_key(self):
        self.connected("generic")  # the key exists from here on
        public_key = os.path.join(lab.lab.workdir, "our.pub")
        shutil.copy(lab.key_folder / "adbkey.pub", public_key)
        box = self.connected("mibox", "--auth", "trusted", "--trust-key", public_key)
        self.assertEqual(lab.ours("-s", box.serial, "shell", "echo", "in").stdout, "in\n")

    def test_an_unknown_key_refused_outright(self):
        box = lab.box("generic", "--auth", "trusted")
        self.addCleanup(box.stop)
        result = lab.ours("connect", box.address)
        self.assertEqual((result.stdout, result.returncode), (f"failed to authenticate to {box.serial}\n", 0))
        shell = lab.ours("-s", box.serial, "shell", "echo", "in")
        self.assertEqual((shell.stderr, shell.returncode), (UNAUTHORIZED, 1))

    def test_an_unknown_key_accepted_by_the_user_is_kept(self):
        box = lab.box("mibox", "--auth", "ask-accept", "--ask-delay", "2")
        result = lab.ours("connect", box.address)
        self.assertEqual(result.stdout, f"connected to {box.serial}\n", "the client waits for the user")
        self.assertGreaterEqual(result.seconds, 2)
        self.assertEqual(box.accepted_keys()[0], lab.our_public_key().split()[0])
        box.stop()
        again = lab.box("mibox", "--auth", "trusted", storage=box.storage, address=box.address)
        self.addCleanup(again.stop)
        self.assertEqual(lab.ours("connect", again.address).stdout, f"already connected to {again.serial}\n")

    def test_an_unknown_key_rejected_by_the_user(self):
        box = lab.box("mibox", "--auth", "ask-reject", "--ask-delay", "1")
        self.addCleanup(box.stop)
        result = lab.ours("connect", box.address)
        self.assertEqual(result.stdout, f"failed to authenticate to {box.serial}\n")
        self.assertEqual(box.accepted_keys(), [])

    def test_a_box_command_reads_the_key_only_for_a_box_that_asks_for_one(self):
        self.connected("generic")  # the key exists from here on
        key = lab.key_folder / "adbkey"
        saved = key.read_bytes()
        key.write_text("not a key")
        try:
            open_box = lab.box("mibox")
            self.addCleanup(open_box.stop)
            shell = lab.ours("-s", open_box.serial, "shell", "echo", "in")
            self.assertEqual((shell.stdout, shell.stderr, shell.returncode), ("in\n", "", 0))
            asking = lab.box("mibox", "--auth", "trusted")
            self.addCleanup(asking.stop)
            shell = lab.ours("-s", asking.serial, "shell", "echo", "in")
            self.assertEqual(shell.returncode, 1)
            self.assertIn("holds no RSA private key", shell.stderr)
            self.assertTrue(shell.stderr.endswith(UNAUTHORIZED), shell.stderr)
        finally:
            key.write_bytes(saved)

    def test_an_unknown_key_never_answered_ends_at_the_users_time_limit(self):
        box = lab.box("mibox", "--auth", "ask-never")
        self.addCleanup(box.stop)
        result = lab.ours("connect", box.address)
        self.assertEqual((result.stdout, result.returncode), (f"failed to authenticate to {box.serial}\n", 0))
        self.assertGreaterEqual(result.seconds, 30)
        self.assertLess(result.seconds, 45)


class KeyInteroperabilityTest(ClientTest):
    def test_keys_shared_with_googles_client(self):
        self.connected("generic")
        ours = (lab.key_folder / "adbkey.pub").read_text()
        # Google's client reads our private key and derives the same public key from it.
        pubkey = lab.debian("pubkey", lab.key_folder / "adbkey")
        self.assertEqual(pubkey.returncode, 0, pubkey.output)
        self.assertEqual(pubkey.stdout.split()[0], ours.split()[0])

        # And we use a key Google's client made: a box that trusts it lets us in.
        google_key = os.path.join(lab.lab.workdir, "google")
        self.assertEqual(lab.debian("keygen", google_key).returncode, 0)
        box = lab.box("mibox", "--auth", "trusted", "--trust-key", google_key + ".pub")
        self.addCleanup(box.stop)
        saved = lab.key_folder.with_name(".android-ours")
        lab.key_folder.rename(saved)
        try:
            lab.key_folder.mkdir()
            shutil.copy(google_key, lab.key_folder / "adbkey")
            self.assertEqual(lab.ours("connect", box.address).stdout, f"connected to {box.serial}\n")
            with open(google_key + ".pub") as google_public_key:
                self.assertEqual((lab.key_folder / "adbkey.pub").read_text().split()[0],
                                 google_public_key.read().split()[0])
        finally:
            shutil.rmtree(lab.key_folder)
            saved.rename(lab.key_folder)


class FaultTest(ClientTest):
    def test_a_closed_port(self):
        box = lab.box("generic", "--fault", "refuse")
        self.addCleanup(box.stop)
        result = lab.ours("connect", box.address)
        self.assertEqual((result.stdout, result.returncode), (f"cannot connect to {box.serial}: {REFUSED}\n", 0))
        shell = lab.ours("-s", box.serial, "shell", "echo")
        self.assertEqual((shell.stderr, shell.returncode), (f"error: cannot connect to {box.serial}: {REFUSED}\n", 1))

    def test_connections_closed_or_reset_at_once(self):
        # Depending on who is quicker, the box's close or reset ends the TCP connection attempt
        # itself or our first message; a box that closes with that message unread resets.
        reason = "(the box closed the connection|An existing connection was forcibly closed by the remote host. " \
                 r"\(10054\))"
        for fault in ("close", "reset"):
            with self.subTest(fault):
                box = lab.box("generic", "--fault", fault)
                self.addCleanup(box.stop)
                result = lab.ours("connect", box.address)
                self.assertRegex(result.stdout, f"^(cannot|failed to) connect to {box.serial}: {reason}\n$")
                self.assertLess(result.seconds, 5)
                shell = lab.ours("-s", box.serial, "shell", "echo")
                self.assertEqual(shell.returncode, 1)
                self.assertRegex(shell.stderr,
                                 f"^error: (cannot connect to {box.serial}|device '{box.serial}' offline): {reason}\n$")

    def test_stalls_before_the_handshake_and_before_each_service(self):
        slow = lab.box("mibox", "--fault", "stall:3")
        self.addCleanup(slow.stop)
        result = lab.ours("connect", slow.address)
        self.assertEqual(result.stdout, f"connected to {slow.serial}\n")
        self.assertGreaterEqual(result.seconds, 3)

        mute = lab.box("mibox", "--fault", "stall:60")
        self.addCleanup(mute.stop)
        result = lab.ours("connect", mute.address)
        self.assertEqual(result.stdout, f"failed to connect to {mute.serial}: the box did not answer within 10 s\n")
        self.assertLess(result.seconds, 20)

        sluggish = lab.box("mibox", "--fault", "stall-service:2")
        self.addCleanup(sluggish.stop)
        self.assertEqual(lab.ours("-s", sluggish.serial, "shell", "getprop", "ro.product.model").stdout, "MIBOX4\n")

    def test_a_box_that_drops_during_the_transfer(self):
        apk = self.apk("big.apk", "com.mivora.cut", size=2 * MIB, seed=4)
        for profile, prefix in (("kiui", "adb: error: failed to copy '"), ("mibox", "adb: failed to install ")):
            with self.subTest(profile):
                box = self.connected(profile, "--fault", "drop:300000")
                result = self.install(box, apk)
                self.assertEqual(result.returncode, 1)
                self.assertTrue(result.stderr.startswith(prefix), result.stderr)
                self.assertNotIn("Success", result.output)
                self.assertEqual(box.packages(), {})
                self.assertEqual(box.leftovers(), [])
        
    def test_hosts_that_are_no_adb_device(self):
        garbage = lab.odd_host("garbage")
        result = lab.ours("connect", garbage)
        self.assertEqual(result.stdout,
                         f"failed to connect to {garbage}:5555: the host does not speak the ADB protocol\n")
        self.assertLess(result.seconds, 5)

        unanswered = lab.odd_host("unanswered")
        result = lab.ours("connect", unanswered)
        self.assertEqual(result.stdout, f"cannot connect to {unanswered}:5555: the box did not answer within 10 s\n")
        self.assertLess(result.seconds, 20)
        shell = lab.ours("-s", f"{unanswered}:5555", "install", lab.windows_path(self.apk("x.apk", "com.mivora.x")))
        self.assertEqual(shell.returncode, 1)
        self.assertIn("did not answer within 10 s", shell.stderr)


class HostileBoxTest(ClientTest):
    def test_a_box_that_keeps_sending_after_the_command_is_let_go_at_once(self):
        # The flood goes on after the handshake; the client's close drains a second, no more.
        box = lab.box("generic", "--fault", "flood")
        self.addCleanup(box.stop)
        result = lab.ours("connect", box.address, timeout=60)
        self.assertEqual(result.stdout, f"connected to {box.serial}\n")
        self.assertLess(result.seconds, 10)

    def test_a_box_that_answers_an_upload_with_more_than_it_is_sent(self):
        apk = self.apk("eight.apk", "com.mivora.eight", size=8 * MIB, seed=5)
        for profile, prefix in (("mibox", "adb: failed to install "), ("kiui", "adb: error: failed to copy '")):
            with self.subTest(profile):
                box = self.connected(profile, "--fault", "flood-upload:16")
                result = self.install(box, apk)
                self.assertEqual(result.returncode, 1)
                self.assertTrue(result.stderr.startswith(prefix), result.stderr)
                self.assertIn("the box sent more data than the client keeps", result.stderr)
                self.assertLess(result.seconds, 30)
                self.assertEqual(box.packages(), {})


if __name__ == "__main__":
    unittest.main(verbosity=2)
