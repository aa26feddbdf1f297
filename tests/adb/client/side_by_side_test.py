#!/usr/bin/python3
"""Our adb.exe and Debian's adb side by side: each scenario runs once per client, each on its own
simulated box set up alike, in one lab network. The outputs must be classified alike by the
engine's own rules (connect and install codes, classify_output), and the two boxes must end in
the same state (packages, files left behind, keys accepted).

Where the two word things differently (H is the box's address; "code" is the engine's result):

| scenario                      | Debian's adb 29                          | our adb.exe                               |
|-------------------------------|------------------------------------------|-------------------------------------------|
| closed port                   | failed to connect to 'H:5555':           | cannot connect to H:5555: No connection   |
|                               | Connection refused                       | could be made because the target machine  |
|                               |                                          | actively refused it. (10061) (the wording |
|                               |                                          | of Google's Windows client)               |
| reset at once                 | failed to connect to 'H:5555':           | cannot connect to H:5555: An existing     |
|                               | Connection reset by peer                 | connection was forcibly closed by the     |
|                               |                                          | remote host. (10054)                      |
| closed at once                | failed to connect to H:5555 (after 10 s) | failed to connect to H:5555: the box      |
|                               |                                          | closed the connection (at once)           |
| silent box                    | failed to connect to H:5555              | ... : the box did not answer within 10 s  |
| web server on the port        | failed to connect to H:5555 (after 10 s) | ... : the host does not speak the ADB     |
|                               |                                          | protocol (at once)                        |
| host that never answers (SYNs | hangs for about two minutes (the         | cannot connect to H:5555: the box did not |
| dropped; not compared, see    | kernel's SYN retries), holding the       | answer within 10 s                        |
| own_client_test.py)           | program's queue                          |                                           |
| unknown key rejected by the   | failed to authenticate (at once; its     | failed to authenticate, once the user has |
| user                          | server keeps asking, and a later connect | said no                                   |
|                               | says "already connected", code 1)        |                                           |
| unknown key never answered    | failed to authenticate (at once)         | the same, after the 30 s for the user     |
| unknown key accepted by the   | first connect: failed to authenticate    | first connect waits for the user:         |
| user                          | (code 0); after the user's yes: already  | connected to H:5555 (code 1); then        |
|                               | connected                                | already connected. Compared: the second   |
| push install                  | <Linux path>: 1 file pushed, ...         | <Windows path>: 1 file pushed, ... (same  |
|                               |                                          | words)                                    |
| push install refused by pm    | Failure [...] and exit code 0            | Failure [...] and exit code 1             |
| APK that does not exist       | Performing Streamed Install, then adb:   | adb: failed to stat <file>: No such file  |
|                               | failed to stat <file>: No such file or   | or directory (checked before the box is   |
|                               | directory                                | asked)                                    |
| connection dropped, streamed  | adb: failed to install <file>: (nothing  | adb: failed to install <file>: the box    |
|                               | after the colon)                         | closed the connection                     |
| connection dropped, push      | adb: error: failed to copy ... couldn't  | adb: error: failed to copy ...: the box   |
|                               | read from device, and "0 files pushed"   | closed the connection                     |
| install on a box that refuses | Performing Push Install, adb: error:     | error: device unauthorized. (and the      |
| the client's key              | failed to get feature set: device        | three lines that follow it in Google's    |
|                               | offline, error: device offline           | client)                                   |
| -s to a box never connected   | error: device 'H:5555' not found         | (not an error: it connects to the box)    |
| -s to a box that is gone      | error: device offline                    | error: cannot connect to H:5555: <reason> |
| -s to a box without handshake | error: device offline                    | error: device 'H:5555' offline: <reason>  |
| stdout and stderr in one pipe | stderr may come first (stdout buffered)  | in the order written                      |
| pull of a file that is not    | adb: error: remote object '<path>' does  | the same words                            |
| there                         | not exist                                |                                           |
| pull cut off by the box       | adb: error: failed to pull ...           | adb: error: failed to pull '<path>': the  |
|                               |                                          | box closed the connection                 |
"""
import os
import subprocess
import time
import unittest
from dataclasses import dataclass
from pathlib import Path
from typing import Callable

from client_lab import Box, ClientLab, sha256
from adbbox.test_apks import write_apk, write_truncated_apk
from lab import wait_until

MIB = 1024 * 1024
CLASSIFY = os.environ.get("MIVORA_CLASSIFY", "")


def classify(kind, run):
    result = subprocess.run([CLASSIFY, kind, str(run.returncode)], input=run.output.encode("utf-8"),
                            capture_output=True, check=True)
    return int(result.stdout)


@dataclass
class Client:
    name: str
    run: Callable
    path: Callable  # a file's path as this client is given it
    public_key: Path


@dataclass
class Scenario:
    name: str
    kind: str  # "connect" or "install": how the last step's output is classified
    profile: str = "mibox"
    options: Callable = lambda client: []
    steps: Callable = None  # (test, client, box) -> the run whose output and exit code are classified
    odd_host: str = None  # instead of a box: odd_host.py's mode


def connect(test, client, box):
    return client.run("connect", box.address)


def install(apk, *options, pre=None):
    def steps(test, client, box):
        client.run("connect", box.address)
        if pre:
            test.assertIn("Success", client.run("-s", box.serial, "install", client.path(test.apks[pre])).output)
        return client.run("-s", box.serial, "install", *options, client.path(test.apks[apk]))
    return steps


def connect_after_the_user_accepted(test, client, box):
    test.first_outputs[client.name] = client.run("connect", box.address).output
    test.assertTrue(wait_until(lambda: box.accepted_keys(), 20), "the box's user accepts")
    return client.run("connect", box.address)


def trusting(client):
    return ["--auth", "trusted", "--trust-key", client.public_key]


SCENARIOS = [
    Scenario("plain box", "connect", steps=connect),
    Scenario("closed port", "connect", options=lambda c: ["--fault", "refuse"], steps=connect),
    Scenario("reset at once", "connect", options=lambda c: ["--fault", "reset"], steps=connect),
    Scenario("closed at once", "connect", options=lambda c: ["--fault", "close"], steps=connect),
    Scenario("slow handshake", "connect", options=lambda c: ["--fault", "stall:3"], steps=connect),
    Scenario("silent box", "connect", options=lambda c: ["--fault", "stall:15"], steps=connect),
    Scenario("box trusting the client's key", "connect", options=trusting, steps=connect),
    Scenario("unknown key refused", "connect", options=lambda c: ["--auth", "trusted"], steps=connect),
    Scenario("unknown key rejected by the user", "connect",
             options=lambda c: ["--auth", "ask-reject", "--ask-delay", "1"], steps=connect),
    Scenario("unknown key never answered", "connect", options=lambda c: ["--auth", "ask-never"], steps=connect),
    Scenario("unknown key accepted by the user, connect again", "connect",
             options=lambda c: ["--auth", "ask-accept", "--ask-delay", "2"], steps=connect_after_the_user_accepted),
    Scenario("web server on the port", "connect", odd_host="garbage", steps=connect),

    Scenario("streamed install", "install", steps=install("good")),
    Scenario("push install", "install", "mele", steps=install("good")),
    Scenario("streamed install over an installed package", "install", steps=install("good", pre="good")),
    Scenario("push install of an installed package", "install", "mele", steps=install("good", pre="good")),
    Scenario("push reinstall with -r", "install", "mele", steps=install("good", "-r", pre="good")),
    Scenario("path with blanks and Chinese, streamed", "install", steps=install("chinese")),
    Scenario("path with blanks and Chinese, push", "install", "kiui", steps=install("chinese")),
    Scenario("corrupt APK, streamed", "install", steps=install("corrupt")),
    Scenario("corrupt APK, push", "install", "letv", steps=install("corrupt")),
    Scenario("APK for a newer Android", "install", "mygica", steps=install("newer")),
    Scenario("box out of space", "install", "generic", options=lambda c: ["--capacity", "1M"],
             steps=install("big")),
    Scenario("APK that does not exist", "install", steps=install("missing")),
    Scenario("connection dropped, streamed", "install", options=lambda c: ["--fault", "drop:300000"],
             steps=install("big")),
    Scenario("connection dropped, push", "install", "i5d", options=lambda c: ["--fault", "drop:300000"],
             steps=install("big")),
    Scenario("box that refuses the client's key", "install", options=lambda c: ["--auth", "trusted"],
             steps=install("good")),
]


def state(box):
    packages = {name: (entry["size"], entry["path"]) for name, entry in box.packages().items()}
    return packages, box.leftovers(), len([key for key in box.accepted_keys() if key])


class SideBySide(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = ClientLab().__enter__()
        lab = cls.lab
        lab.debian("start-server")  # makes Debian's key
        lab.ours("connect", "127.0.0.1:1")  # makes ours
        cls.clients = [
            Client("debian", lab.debian, str, lab.home / ".android" / "adbkey.pub"),
            Client("ours", lab.ours, lab.windows_path, lab.key_folder / "adbkey.pub"),
        ]
        work = Path(lab.lab.workdir) / "apks"
        cls.apks = {name: work / file for name, file in (
            ("good", "good.apk"), ("chinese", "我的 应用.apk"), ("corrupt", "corrupt.apk"),
            ("newer", "newer.apk"), ("big", "big.apk"), ("missing", "missing.apk"))}
        work.mkdir()
        write_apk(cls.apks["good"], "com.mivora.good", 14)
        write_apk(cls.apks["chinese"], "com.mivora.chinese", 14, size=MIB + 3)
        write_truncated_apk(cls.apks["corrupt"], "com.mivora.corrupt", 14)
        write_apk(cls.apks["newer"], "com.mivora.newer", 26)
        write_apk(cls.apks["big"], "com.mivora.big", 14, size=2 * MIB)
        cls.report = []

    @classmethod
    def tearDownClass(cls):
        cls.lab.__exit__(None, None, None)
        print("\n".join(cls.report))

    def test_each_scenario_is_classified_alike_and_leaves_the_box_alike(self):
        self.first_outputs = {}
        for scenario in SCENARIOS:
            with self.subTest(scenario.name):
                results = {}
                for client in self.clients:
                    if scenario.odd_host:
                        box = Box(self.lab.odd_host(scenario.odd_host), "/nonexistent", None)
                    else:
                        box = self.lab.box(scenario.profile, *scenario.options(client))
                    started = time.monotonic()
                    run = scenario.steps(self, client, box)
                    seconds = time.monotonic() - started
                    results[client.name] = (classify(scenario.kind, run), state(box), run.output, seconds)
                    if box.process:
                        box.stop()
                self.report.append(f"== {scenario.name}")
                for name, (code, box_state, output, seconds) in results.items():
                    first = self.first_outputs.pop(name, None)
                    shown = (f"first {first!r}, then " if first else "") + repr(output)
                    self.report.append(f"   {name:6} {scenario.kind} code {code}, {seconds:5.1f} s: {shown}")
                self.assertEqual(results["debian"][0], results["ours"][0], "classified differently")
                self.assertEqual(results["debian"][1], results["ours"][1], "the boxes differ")

    def test_model_queries_and_uninstalls_print_the_same(self):
        for profile in ("mele", "mibox"):
            outputs = {}
            for client in self.clients:
                box = self.lab.box(profile)
                client.run("connect", box.address)
                client.run("-s", box.serial, "install", client.path(self.apks["good"]))
                query = ("shell", "getprop", "ro.build.host;getprop", "ro.product.model")
                outputs[client.name] = [
                    client.run("-s", box.serial, *query).stdout,
                    client.run("-s", box.serial, "uninstall", "com.mivora.good").stdout,
                    client.run("-s", box.serial, "uninstall", "com.mivora.good").stdout]
                box.stop()
            self.assertEqual(outputs["debian"], outputs["ours"], profile)

    def test_pulls_bring_the_same_files_and_leave_nothing_half_written(self):
        """Pulls of an old box's APK and a new box's base and split APKs, into a named file and into
        a folder; a file that is not there; a box that cuts the connection midway."""
        work = Path(self.lab.lab.workdir) / "pulls"
        cases = (
            ("old box, one file", "mele", (), ["/data/app/com.example.app000-1.apk"], "one.apk"),
            ("new box, base and split into a folder", "mibox", (),
             ["/data/app/com.example.app003-1/base.apk", "/data/app/com.example.app003-1/split_config.armeabi_v7a.apk"],
             None),
            ("file that is not there", "mibox", (), ["/data/app/nothing-1/base.apk"], "missing.apk"),
            ("cut off midway", "mibox", ("--fault", "drop:200000"), ["/data/app/com.example.app000-1/base.apk"],
             "cut.apk"),
        )
        for name, profile, faults, remotes, local in cases:
            with self.subTest(name):
                results = {}
                for client in self.clients:
                    folder = work / name.replace(" ", "_").replace(",", "") / client.name
                    folder.mkdir(parents=True)
                    box = self.lab.box(profile, "--apps", 5, *faults)
                    if faults:  # a file large enough to be cut
                        box.device_file(remotes[0]).write_bytes(os.urandom(3 * MIB))
                    client.run("connect", box.address)
                    target = folder / local if local else folder
                    run = client.run("-s", box.serial, "pull", *remotes, client.path(target))
                    box_files = sorted((local or Path(r).name, sha256(box.device_file(r))) for r in remotes
                                       if box.device_file(r).exists())
                    pulled = sorted((entry.name, sha256(entry)) for entry in folder.iterdir())
                    results[client.name] = (run.returncode == 0, [entry for entry, _ in pulled], run.output)
                    box.stop()
                    if run.returncode == 0:
                        self.assertEqual(box_files, pulled, f"{client.name}: the pulled files are the box's")
                    else:
                        self.assertEqual([], pulled, f"{client.name}: a failed pull leaves no file")
                self.report.append(f"== pull: {name}")
                for client_name, (_, _, output) in results.items():
                    self.report.append(f"   {client_name:6} {output!r}")
                debian, ours = results["debian"], results["ours"]
                self.assertEqual(debian[:2], ours[:2], "the clients differ")
                if "not there" in name:
                    self.assertIn("does not exist", ours[2])


if __name__ == "__main__":
    unittest.main(verbosity=2)
