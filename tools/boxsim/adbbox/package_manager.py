"""The box's package manager: installs, replaces, removes and lists packages in its storage."""

import os
import shutil
import threading

from .apk import InvalidApk, read_package_info
from .profiles import SYSTEM_PACKAGES

SUCCESS = "Success"


class PackageManager:
    def __init__(self, profile, storage, capacity):
        self._profile = profile
        self._storage = storage
        self._capacity = capacity
        self._lock = threading.Lock()  # one box may be busy on several connections

    def install(self, host_file, replace=False, adopt=False):
        """Installs the APK at host_file; returns pm's verdict line.

        adopt: the file is a temporary one of the box's own (a streamed install) and may be moved
        into place instead of copied.
        """
        try:
            info = read_package_info(host_file)
        except InvalidApk:
            return self._failure("INSTALL_FAILED_INVALID_APK", "Failed to parse the package")
        if info.min_sdk > self._profile.sdk:
            return self._failure("INSTALL_FAILED_OLDER_SDK", f"Requires newer sdk version #{info.min_sdk} "
                                 f"(current version is #{self._profile.sdk})")
        size = os.path.getsize(host_file)
        with self._lock:
            packages = self._storage.load_packages()
            installed = packages.get(info.name)
            if installed and not (replace or self._profile.modern_package_manager):
                return self._failure("INSTALL_FAILED_ALREADY_EXISTS",
                                     f"Attempt to re-install {info.name} without first uninstalling.")
            in_use = sum(entry["size"] for name, entry in packages.items() if name != info.name)
            if in_use + size > self._capacity:
                return self._failure("INSTALL_FAILED_INSUFFICIENT_STORAGE", "Insufficient storage space")
            device_path = self._apk_path(info.name)
            self._place(host_file, self._storage.host_path(device_path), adopt)
            packages[info.name] = {"path": device_path, "size": size, "minSdk": info.min_sdk}
            self._storage.save_packages(packages)
        return SUCCESS

    def uninstall(self, name):
        with self._lock:
            packages = self._storage.load_packages()
            entry = packages.pop(name, None)
            if entry is None:
                return self._failure("DELETE_FAILED_INTERNAL_ERROR", None)
            apk_file = self._storage.host_path(entry["path"])
            if self._profile.apk_folder_per_package:
                shutil.rmtree(apk_file.parent, ignore_errors=True)
            else:
                apk_file.unlink(missing_ok=True)
            self._storage.save_packages(packages)
        return SUCCESS

    def listing(self, with_paths, third_party_only=False):
        """(device path, name) of every package, system ones first unless only third-party are asked."""
        entries = [] if third_party_only else list(SYSTEM_PACKAGES)
        entries += sorted((entry["path"], name) for name, entry in self._storage.load_packages().items())
        return [f"package:{path}={name}" if with_paths else f"package:{name}" for path, name in entries]

    def path_of(self, name):
        entry = self._storage.load_packages().get(name)
        if entry is not None:
            return entry["path"]
        return next((path for path, system_name in SYSTEM_PACKAGES if system_name == name), None)

    def _apk_path(self, name):
        if self._profile.apk_folder_per_package:
            return f"/data/app/{name}-1/base.apk"
        return f"/data/app/{name}-1.apk"

    @staticmethod
    def _place(source, destination, adopt):
        destination.parent.mkdir(parents=True, exist_ok=True)
        destination.unlink(missing_ok=True)
        if adopt:
            os.replace(source, destination)
            return
        try:
            os.link(source, destination)  # the pushed copy is deleted right after: share its blocks
        except OSError:
            shutil.copyfile(source, destination)

    def _failure(self, code, detail):
        # Android 7's package manager added a reason after the code; older ones gave the code alone.
        if detail and self._profile.modern_package_manager:
            return f"Failure [{code}: {detail}]"
        return f"Failure [{code}]"
