"""Debian's adb client and simulated boxes in a network namespace that has nothing but loopback.

Nothing here reaches the machine's own network: the namespace is made for the run, holds the adb
server, its mDNS announcements and every box, and is removed at the end, also when a test fails
(and at the next run, when a run was killed before it could clean up).
"""

import atexit
import os
import re
import select
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from boxsim_support import ADB, BOXSIM_DIR  # also makes tools/lab importable
import netns  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402

PREFIX = "mvr-sim-"
BOX_READY_SECONDS = 10


def _run(*arguments, **options):
    return subprocess.run(list(arguments), capture_output=True, text=True, **options)


class Box:
    def __init__(self, process, address, storage):
        self.process = process
        self.address = address
        self.serial = f"{address}:5555"
        self.storage = Path(storage)

    def packages(self):
        return installed_packages(self.storage)

    def device_file(self, device_path):
        return self.storage / "fs" / device_path.lstrip("/")

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class AdbLab:
    def __init__(self):
        self.namespace = f"{PREFIX}{os.getpid()}"
        self.home = Path(tempfile.mkdtemp(prefix="boxsim-adb-home-"))
        self.boxes = []
        self._next_host = 2
        self._started = False

    def start(self):
        if os.geteuid() != 0:
            raise RuntimeError("network namespaces need root")
        if not os.access(ADB, os.X_OK):
            raise RuntimeError(f"{ADB} is missing (package adb)")
        netns.remove_stale(re.escape(PREFIX) + r"(\d+)")
        atexit.register(self.stop)
        self._started = True
        netns.add(self.namespace)
        result = self.adb("start-server")
        if result.returncode != 0:
            raise RuntimeError(f"adb start-server failed: {result.stdout}")
        return self

    def stop(self):
        if not self._started:
            return
        self._started = False
        for box in self.boxes:
            box.stop()
        self.adb("kill-server", timeout=10)
        netns.remove(self.namespace)
        shutil.rmtree(self.home, ignore_errors=True)

    @property
    def adb_public_key(self):
        return self.home / ".android" / "adbkey.pub"

    def environment(self):
        return {"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "HOME": str(self.home), "ANDROID_ADB_SERVER_PORT": "5037",
                "LANG": "C.UTF-8"}

    def adb(self, *arguments, timeout=30):
        """Runs adb in the namespace; the CompletedProcess has stdout and stderr merged in stdout."""
        command = ["ip", "netns", "exec", self.namespace, ADB, *map(str, arguments)]
        try:
            result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                    timeout=timeout, env=self.environment())
        except subprocess.TimeoutExpired as expired:
            raise AssertionError(f"adb {' '.join(map(str, arguments))} hung for {timeout} s: {expired.output}")
        # Decoded by hand: text mode would turn the "\r\n" of old boxes into "\n".
        result.stdout = result.stdout.decode("utf-8", "replace")
        return result

    def start_box(self, profile="generic", *options, storage=None, address=None):
        address = address or f"127.0.0.{self._next_host}"
        self._next_host += 1
        storage = storage or tempfile.mkdtemp(prefix="box-", dir=self.home)
        command = ["ip", "netns", "exec", self.namespace, "/usr/bin/python3", str(BOXSIM_DIR / "boxsim.py"),
                   "--address", address, "--profile", profile, "--storage", str(storage), "--verbose", *options]
        log = open(Path(storage).with_suffix(".log"), "w")
        process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=log, text=True, env=self.environment())
        log.close()
        box = Box(process, address, storage)
        self.boxes.append(box)
        deadline = time.monotonic() + BOX_READY_SECONDS
        while time.monotonic() < deadline:
            ready, _, _ = select.select([process.stdout], [], [], 0.2)
            if ready:
                line = process.stdout.readline()
                if line.startswith(f"ready {address}:5555"):
                    return box
                raise RuntimeError(f"box on {address} said {line!r} instead of ready")
            if process.poll() is not None:
                break
        raise RuntimeError(f"box on {address} did not get ready: see {Path(storage).with_suffix('.log')}")
