#!/usr/bin/python3
"""The self-update end to end, under Wine in a lab: the program of this build (1.0.0.1) asks the
update server (its real host name, which only the lab's own hosts file resolves, to nginx in the
lab) whether a newer version exists, finds the next build (1.0.0.2) signed with the build's
development key, offers it, downloads it through a metalink descriptor with two mirrors (the first
answers 404) with progress in its dialog, replaces itself and starts the new program with
"/update:1", which removes the backup. A file changed on the server, or an upgrade cancelled, leaves
the old program in place and its window shown again. Checked where a user sees it (the dialog's
texts and bar, the main window), in the program folder and in the server's log."""
import glob
import hashlib
import os
import subprocess
import sys
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402
from program import Program  # noqa: E402
import update_server  # noqa: E402
from update_server import (CANCEL_BUTTON, FAILED_TEXT, PROGRESS_BAR, PROMPT_TEXT,  # noqa: E402
                           UPGRADE_BUTTON, UPGRADING_TEXT, UpdateServer, UpgradeDialog, signing_key)

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
CURRENT = os.path.join(BUILD, "MivoraBoxAssistant.exe")
NAME = "MivoraBoxAssistant.exe"
# The release is made larger than the program (data after its image changes nothing of it); where
# its download must be watched or cut short it comes from /crawl/ (256 KB/s per connection, five
# connections), so that it lasts long enough however quickly the dialog is read.
RELEASE_SIZE = 6 * 1024 * 1024
WATCHED_SIZE = 12 * 1024 * 1024
CANCELLED_SIZE = 24 * 1024 * 1024
LAB = SERVER = DIALOG = None


def setUpModule():
    global LAB, SERVER, DIALOG
    LAB = Lab(BUILD).__enter__()
    try:
        SERVER = UpdateServer(LAB, BUILD).start()
        DIALOG = UpgradeDialog(LAB, BUILD)
    except BaseException:
        LAB.close()
        raise


def tearDownModule():
    if LAB:
        LAB.close()


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def padded_release(size=RELEASE_SIZE):
    return update_server.padded_release(BUILD, LAB.workdir, size)


def temp_downloads():
    return glob.glob(LAB.prefix_path("drive_c", "users", "*", "Temp", "cf*.tmp"))


@unittest.skipUnless(signing_key(BUILD), "the build trusts a release key of its own: no test can sign for it")
class Upgrade(unittest.TestCase):
    def setUp(self):
        # Every case starts as a program that has not checked today.
        LAB.wine_output(["reg", "delete", "HKCU\\Software\\ClientFrame", "/f"])
        SERVER.nginx.forget_requests()
        self.program = None

    def tearDown(self):
        LAB.wine_output([DIALOG.wintool, "close", "#32770"])
        LAB.wine_output([DIALOG.wintool, "close", "ClientFrame" + "X" * 30])
        if self.program and self.program.process.poll() is None:
            self.program.process.kill()
        wait_until(lambda: DIALOG.main_windows(shown_only=False) == 0, 30)

    def start_old_program(self):
        self.program = Program(LAB, BUILD, args=())
        self.folder = self.program.folder
        prompt = DIALOG.wait(lambda s: s["visible"] and DIALOG.text(s) == PROMPT_TEXT, 90)
        self.assertIsNotNone(prompt, "the upgrade is offered\n" + LAB.server_log())
        self.assertFalse(DIALOG.shows(prompt, PROGRESS_BAR), "no bar before the upgrade starts")
        self.assertTrue(DIALOG.enabled(prompt, UPGRADE_BUTTON))
        asked = [r for r in SERVER.requests() if r["uri"].startswith("/update/checkupdate.ini")]
        self.assertEqual([r["uri"] for r in asked], ["/update/checkupdate.ini?ver=1.0.0.1"])
        self.assertTrue(asked[0]["agent"].endswith("; MivoraBox)"), asked[0]["agent"])
        return prompt

    def press_upgrade(self, prompt):
        DIALOG.click(prompt, UPGRADE_BUTTON)
        upgrading = DIALOG.wait(lambda s: DIALOG.text(s) == UPGRADING_TEXT, 30)
        self.assertIsNotNone(upgrading, "the dialog says it is upgrading")
        self.assertTrue(DIALOG.shows(upgrading, PROGRESS_BAR))
        self.assertFalse(DIALOG.enabled(upgrading, UPGRADE_BUTTON))
        self.assertTrue(wait_until(lambda: DIALOG.main_windows() == 0, 10), "the main window is hidden")
        return upgrading

    def test_a_signed_newer_release_replaces_the_program_which_restarts(self):
        release = padded_release(WATCHED_SIZE)
        gone = SERVER.url("files", "gone/" + NAME)
        SERVER.publish(release, mirrors=[gone, SERVER.url("crawl", NAME, host=1)])
        self.press_upgrade(self.start_old_program())

        midway = DIALOG.wait(lambda s: 0 < (s["progress"] or 0) < 100, 30)
        self.assertIsNotNone(midway, "the bar moves with the download")

        self.assert_upgraded_to(release)

        requests = SERVER.requests()
        self.assertIn(("/update/" + NAME + ".metalink", 200), [(r["uri"], r["status"]) for r in requests])
        self.assertIn(("/files/gone/" + NAME, 404), [(r["uri"], r["status"]) for r in requests], "the first mirror")
        served = [r for r in requests if r["uri"] == "/crawl/" + NAME and r["status"] in (200, 206)]
        self.assertTrue(served and all(r["host"] == "127.0.0.2" for r in served), requests)

    def assert_upgraded_to(self, release, within=120):
        """The old program ends; the new one shows its window, and its start removed the backup."""
        self.assertEqual(self.program.process.wait(timeout=within), 0)
        program_file = os.path.join(self.folder, NAME)
        self.assertEqual(sha256(program_file), sha256(release), "the program file is the release")
        self.assertTrue(wait_until(lambda: DIALOG.main_windows() == 1, 60), "the new program's window shows")
        self.assertTrue(wait_until(lambda: not os.path.exists(os.path.join(self.folder, "MivoraBoxAssistant.bak")), 30),
                        "the new program's start removes the backup")
        self.assertEqual(sorted(os.listdir(self.folder)), [NAME], "nothing else is left in the program folder")
        self.assertEqual(temp_downloads(), [], "the downloaded file is not left behind")
        self.assertTrue(any("/update:1" in line for line in self.wine_command_lines()), "it was started with /update:1")

    def test_a_server_killed_mid_download_and_back_later_still_gives_the_whole_release(self):
        release = padded_release(WATCHED_SIZE)
        SERVER.publish(release, url=SERVER.url("crawl", NAME))
        self.press_upgrade(self.start_old_program())
        self.assertIsNotNone(DIALOG.wait(lambda s: 5 < (s["progress"] or 0) < 80, 60), "the download runs")
        SERVER.nginx.kill()
        try:
            # Long enough for every connection to fail and be put off until its next try.
            self.assertIsNone(DIALOG.wait(lambda s: DIALOG.text(s) != UPGRADING_TEXT, 5),
                              "a server that went away is not yet a failure")
        finally:
            SERVER.nginx.forget_requests()
            SERVER.nginx.start()
        self.assert_upgraded_to(release, within=180)
        fetched_again = sum(r["sent"] for r in SERVER.requests() if r["uri"] == "/crawl/" + NAME)
        self.assertGreater(fetched_again, 0, "the rest came after the restart")
        self.assertLess(fetched_again, WATCHED_SIZE * 0.97,
                        "what came before the crash is not fetched again (the connections go on where they stopped)")

    def test_a_server_that_stalls_for_longer_than_a_read_may_wait_still_gives_the_whole_release(self):
        release = padded_release(WATCHED_SIZE)
        SERVER.publish(release, url=SERVER.url("crawl", NAME))
        self.press_upgrade(self.start_old_program())
        self.assertIsNotNone(DIALOG.wait(lambda s: 5 < (s["progress"] or 0) < 80, 60), "the download runs")
        SERVER.nginx.pause(True)
        try:
            self.assertIsNone(DIALOG.wait(lambda s: DIALOG.text(s) != UPGRADING_TEXT, 30),
                              "a stalled server is waited for, not a failure")
        finally:
            SERVER.nginx.pause(False)
        self.assert_upgraded_to(release, within=240)

    def upgrade_fails_and_leaves_everything_as_it_was(self, why):
        """Presses the upgrade button; the upgrade must fail with nothing replaced or left behind,
        and the user can go on: the main window is back, the dialog closes on cancel."""
        self.press_upgrade(self.start_old_program())
        failed = DIALOG.wait(lambda s: DIALOG.text(s) == FAILED_TEXT, 60)
        self.assertIsNotNone(failed, f"{why}: the dialog says the upgrade failed")
        self.assertTrue(DIALOG.enabled(failed, UPGRADE_BUTTON), "the button may be pressed again")
        self.assertTrue(wait_until(lambda: DIALOG.main_windows() == 1, 10), "the main window shows again")
        self.assertIsNone(self.program.process.poll(), "the old program runs on")
        self.assertEqual(sha256(os.path.join(self.folder, NAME)), sha256(CURRENT), f"{why}: nothing was replaced")
        self.assertEqual(sorted(os.listdir(self.folder)), [NAME])
        self.assertEqual(temp_downloads(), [], f"{why}: the downloaded file is deleted")

        DIALOG.click(failed, CANCEL_BUTTON)
        self.assertTrue(wait_until(lambda: DIALOG.state() is None, 10), "cancel closes the dialog")
        self.assertEqual(DIALOG.main_windows(), 1)
        self.assertIsNone(self.program.process.poll())

    def test_a_changed_file_leaves_the_old_program_in_place_and_running(self):
        release = SERVER.publish(padded_release())
        with open(release, "r+b") as f:
            f.seek(RELEASE_SIZE // 2)
            byte = f.read(1)
            f.seek(RELEASE_SIZE // 2)
            f.write(bytes([byte[0] ^ 0x40]))
        self.upgrade_fails_and_leaves_everything_as_it_was("a changed file")

    def test_a_release_signed_with_another_key_is_refused(self):
        other = os.path.join(LAB.workdir, "other-key.pem")
        if not os.path.exists(other):
            subprocess.run(["openssl", "genrsa", "-out", other, "2048"], check=True, capture_output=True)
        SERVER.publish(padded_release(), key=other)
        self.upgrade_fails_and_leaves_everything_as_it_was("another key")

    def test_a_descriptor_that_calls_the_running_version_newer_is_refused(self):
        # Signed by the right key and whole, but the file is the version that runs: a downgrade, or
        # an old release offered again under a new number.
        SERVER.publish(CURRENT)
        descriptor = os.path.join(SERVER.www, "update", "checkupdate.ini")
        with open(descriptor) as f:
            text = f.read()
        with open(descriptor, "w") as f:
            f.write(text.replace("version=1.0.0.1", "version=1.0.0.2"))
        self.upgrade_fails_and_leaves_everything_as_it_was("the running version under a new number")

    def test_a_release_that_no_mirror_has_fails_at_once(self):
        SERVER.publish(padded_release(), mirrors=[SERVER.url("files", "gone/" + NAME),
                                                  SERVER.url("files", "gone/" + NAME, host=1)])
        self.upgrade_fails_and_leaves_everything_as_it_was("404 everywhere")

    def test_cancelling_the_download_shows_the_main_window_again(self):
        SERVER.publish(padded_release(CANCELLED_SIZE), url=SERVER.url("crawl", NAME))
        upgrading = self.press_upgrade(self.start_old_program())
        self.assertIsNotNone(DIALOG.wait(lambda s: 0 < (s["progress"] or 0) < 100, 30), "the download runs")
        DIALOG.click(upgrading, CANCEL_BUTTON)
        self.assertTrue(wait_until(lambda: DIALOG.state() is None, 15), "the dialog closes")
        self.assertTrue(wait_until(lambda: DIALOG.main_windows() == 1, 10), "the main window shows again")
        self.assertIsNone(self.program.process.poll())
        self.assertEqual(sha256(os.path.join(self.folder, NAME)), sha256(CURRENT))
        self.assertEqual(temp_downloads(), [], "the part downloaded is deleted")

    def test_a_descriptor_without_a_newer_version_offers_nothing(self):
        SERVER.publish(CURRENT)
        self.program = Program(LAB, BUILD, args=())
        self.assertTrue(wait_until(lambda: any(r["uri"].startswith("/update/checkupdate.ini")
                                               for r in SERVER.requests()), 60), "the program asked")
        self.assertIsNone(DIALOG.wait(lambda s: True, 5), "no prompt for the version that runs")
        # Asked once today: a second start asks nothing.
        self.program.stop()
        SERVER.nginx.forget_requests()
        self.program = Program(LAB, BUILD, args=())
        self.assertIsNone(DIALOG.wait(lambda s: True, 5))
        self.assertEqual(SERVER.requests(), [])

    def wine_command_lines(self):
        """The command lines of the lab's processes, as /proc shows them."""
        pids = LAB.run_in(LAB.pc, ["ip", "netns", "pids", LAB.pc], text=True).stdout.split()
        lines = []
        for pid in pids:
            try:
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    lines.append(f.read().replace(b"\0", b" ").decode(errors="replace"))
            except OSError:
                pass
        return lines


if __name__ == "__main__":
    unittest.main()
