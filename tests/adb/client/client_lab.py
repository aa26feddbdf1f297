"""A lab for the project's adb.exe: simulated boxes on loopback addresses inside a private network
namespace, our client under Wine there, and Debian's adb beside it for comparisons."""
import hashlib
import os
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[3]
sys.path.insert(0, str(ROOT / "tools" / "lab"))
sys.path.insert(0, str(ROOT / "tools" / "boxsim"))
from lab import Lab  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", str(ROOT / "build" / "windows"))
DEBIAN_ADB = "/usr/lib/android-sdk/platform-tools/adb"
BOXSIM = ROOT / "tools" / "boxsim" / "boxsim.py"
ODD_HOST = Path(__file__).resolve().parent / "odd_host.py"


@dataclass
class Run:
    returncode: int
    stdout: str
    stderr: str
    seconds: float

    @property
    def output(self):
        return self.stdout + self.stderr


class Box:
    def __init__(self, address, storage, process):
        self.address = address
        self.process = process
        self.serial = f"{address}:5555"
        self.storage = Path(storage)

    def packages(self):
        return installed_packages(self.storage)

    def device_file(self, device_path):
        return self.storage / "fs" / device_path.lstrip("/")

    def leftovers(self):
        """Files a transfer may leave behind: pushed copies and half-received streamed installs."""
        pushed = self.device_file("/data/local/tmp")
        received = self.device_file("/data/app")
        return sorted([entry.name for entry in pushed.iterdir()] if pushed.is_dir() else []) + \
            sorted([entry.name for entry in received.glob("*.tmp")] if received.is_dir() else [])

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)

    def accepted_keys(self):
        try:
            return (self.storage / "adb_keys").read_text().split("\n")
        except FileNotFoundError:
            return []


class ClientLab:
    def __init__(self):
        self.lab = Lab(BUILD)
        self._next_host = 2
        self.boxes = {}

    def __enter__(self):
        self.lab.__enter__()
        work = Path(self.lab.workdir)
        self.client = work / "client" / "adb.exe"
        self.client.parent.mkdir()
        shutil.copy(Path(BUILD) / "adb.exe", self.client)
        self.home = work / "home"
        self.home.mkdir()
        profile = self.lab.wine_output(["cmd", "/c", "echo %USERPROFILE%"]).strip()
        self.key_folder = Path(self.lab.prefix_path("drive_c", *profile.split("\\")[1:], ".android"))
        return self

    def __exit__(self, *exc):
        self.debian("kill-server")
        self.lab.__exit__(*exc)
        return False

    def next_address(self):
        address = f"127.0.0.{self._next_host}"
        self._next_host += 1
        return address

    def box(self, profile="generic", *options, storage=None, address=None):
        address = address or self.next_address()
        storage = storage or Path(self.lab.workdir) / f"box-{address}"
        process = self.lab.spawn(["/usr/bin/python3", str(BOXSIM), "--address", address, "--profile", profile,
                                  "--storage", str(storage), *map(str, options)],
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = process.stdout.readline()
        if not line.startswith("ready"):
            raise RuntimeError(f"box {profile} on {address} did not start: {line!r}")
        return Box(address, storage, process)

    def odd_host(self, mode):
        address = self.next_address()
        process = self.lab.spawn(["/usr/bin/python3", str(ODD_HOST), mode, address],
                                 stdout=subprocess.PIPE, text=True)
        if process.stdout.readline().strip() != "ready":
            raise RuntimeError(f"odd host {mode} did not start")
        return address

    def windows_path(self, path):
        return self.lab.windows_path(str(path))

    def _run(self, command, env, timeout):
        started = time.monotonic()
        result = self.lab.run_in(self.lab.pc, command, env=env, timeout=timeout)
        # Decoded by hand: text mode would turn the "\r\n" of old boxes into "\n".
        return Run(result.returncode, result.stdout.decode("utf-8", "replace"),
                   result.stderr.decode("utf-8", "replace"), time.monotonic() - started)

    def ours(self, *arguments, timeout=120):
        return self._run(self.lab.wine_command([str(self.client), *map(str, arguments)]), self.lab.wine_env(), timeout)

    def debian_environment(self):
        return {"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "HOME": str(self.home), "LANG": "C.UTF-8",
                "ANDROID_ADB_SERVER_PORT": str(5037 + os.getpid() % 1000)}

    def debian(self, *arguments, timeout=120):
        return self._run([DEBIAN_ADB, *map(str, arguments)], self.debian_environment(), timeout)

    def our_public_key(self):
        return (self.key_folder / "adbkey.pub").read_text()


def sha256(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()
