"""A box's storage folder: its writable file system, its package list and its accepted keys.

Layout:
    <storage>/packages.json   installed packages: name -> {"path", "size", "versionName", "splits", ...}
    <storage>/adb_keys        public keys the box's user accepted, one per line
    <storage>/launches.txt    packages started on the box's screen, one per line
    <storage>/fs/...          the box's files under their device paths (fs/data/local/tmp/a.apk)
"""

import json
import os
import posixpath
from pathlib import Path

# Where the shell user of a box may write; everything else is read-only to it.
WRITABLE_ROOTS = ("/data/local/tmp", "/sdcard")
APP_ROOT = "/data/app"


def installed_packages(folder):
    """What the box with this storage folder has installed (nothing before its first install)."""
    try:
        with open(Path(folder) / "packages.json", encoding="utf-8") as packages:
            return json.load(packages)
    except FileNotFoundError:
        return {}


class DeviceFileError(OSError):
    """A device path the shell user may not touch; str() is what the box would answer."""


class Storage:
    def __init__(self, folder):
        self.folder = Path(folder)
        self.files = self.folder / "fs"
        for root in WRITABLE_ROOTS + (APP_ROOT,):
            self.host_path(root).mkdir(parents=True, exist_ok=True)

    @property
    def packages_file(self):
        return self.folder / "packages.json"

    @property
    def accepted_keys_file(self):
        return self.folder / "adb_keys"

    @property
    def launches_file(self):
        """The packages whose main activity was started, one name a line."""
        return self.folder / "launches.txt"

    def host_path(self, device_path):
        """Where a device path lives in the storage folder (device paths are normalised first)."""
        if "\0" in device_path:
            raise DeviceFileError(f"{device_path!r}: Invalid argument")
        normal = posixpath.normpath("/" + device_path.lstrip("/"))
        return self.files / normal.lstrip("/")

    def writable_path(self, device_path):
        """The host path for a file the shell user wants to create or delete."""
        if not device_path.startswith("/"):
            raise DeviceFileError(f"{device_path}: No such file or directory")
        normal = posixpath.normpath(device_path)
        if not any(normal == root or normal.startswith(root + "/") for root in WRITABLE_ROOTS):
            raise DeviceFileError(f"{device_path}: Permission denied")
        return self.host_path(normal)

    def load_packages(self):
        return installed_packages(self.folder)

    def save_packages(self, packages):
        """Replaces packages.json in one step, so a reader never sees half of it."""
        temporary = self.packages_file.with_suffix(".json.tmp")
        with open(temporary, "w", encoding="utf-8") as out:
            json.dump(packages, out, indent=1, sort_keys=True)
        os.replace(temporary, self.packages_file)
