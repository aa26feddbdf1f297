"""The box's package manager: installs, replaces, removes and lists packages in its storage, and
starts them."""

import os
import shutil
import threading
import time

from .apk import InvalidApk, read_package_info
from .faults import Faults
from .profiles import SYSTEM_PACKAGES

SUCCESS = "Success"
FIRST_APP_UID = 10045
# Android 5 brought the list of ABIs a box runs and the checks of signers and permissions as they are now.
_ANDROID_5 = 21


class PackageManager:
    def __init__(self, profile, storage, capacity, faults=Faults()):
        self._profile = profile
        self._storage = storage
        self._capacity = capacity
        self._faults = faults
        self._lock = threading.Lock()  # one box may be busy on several connections

    def install(self, host_file, replace=False, adopt=False, downgrade=False):
        """Installs the APK at host_file; returns pm's verdict line.

        adopt: the file is a temporary one of the box's own (a streamed install) and may be moved
        into place instead of copied; downgrade: an older version may replace a newer one (-d).
        """
        try:
            info = read_package_info(host_file)
        except InvalidApk:
            return self._failure("INSTALL_FAILED_INVALID_APK", "Failed to parse the package")
        if info.min_sdk > self._profile.sdk:
            return self._failure("INSTALL_FAILED_OLDER_SDK", f"Requires newer sdk version #{info.min_sdk} "
                                 f"(current version is #{self._profile.sdk})")
        if info.abis and not set(info.abis) & set(self._profile.abis):
            if self._profile.sdk < _ANDROID_5:
                return self._failure("INSTALL_FAILED_CPU_ABI_INCOMPATIBLE", None)
            return self._failure("INSTALL_FAILED_NO_MATCHING_ABIS", "Failed to extract native libraries, res=-113")
        missing = [name for name in info.libraries if name not in self._profile.shared_libraries]
        if missing:
            return self._failure("INSTALL_FAILED_MISSING_SHARED_LIBRARY",
                                 f"Package couldn't be installed in /data/app/{info.name}-1: "
                                 f"Package {info.name} requires unavailable shared library {missing[0]}; failing!")
        size = os.path.getsize(host_file)
        with self._lock:
            packages = self._storage.load_packages()
            installed = packages.get(info.name)
            verdict = self._conflict(info, installed, packages, replace, downgrade)
            if verdict:
                return verdict
            in_use = sum(entry["size"] for name, entry in packages.items() if name != info.name)
            if in_use + size > self._capacity:
                return self._failure("INSTALL_FAILED_INSUFFICIENT_STORAGE", "Insufficient storage space")
            device_path = self.apk_path(info.name)
            if installed and self._profile.apk_folder_per_package:
                # A replaced app keeps none of its old splits.
                shutil.rmtree(self._storage.host_path(device_path).parent, ignore_errors=True)
            self._place(host_file, self._storage.host_path(device_path), adopt)
            now = int(time.time())
            packages[info.name] = app_record(
                device_path, size, info, uid=installed["uid"] if installed else next_uid(packages),
                first_install=installed.get("firstInstallTime", now) if installed else now, last_update=now)
            self._storage.save_packages(packages)
        return SUCCESS

    def _conflict(self, info, installed, packages, replace, downgrade):
        """The verdict when the APK cannot go beside (or over) the apps on the box; None when it can.
        The checks come in the package manager's order: the flags, the version, the signer, then
        the permissions."""
        if installed and not (replace or self._profile.modern_package_manager):
            return self._failure("INSTALL_FAILED_ALREADY_EXISTS",
                                 f"Attempt to re-install {info.name} without first uninstalling.")
        if installed and info.version_code < installed.get("versionCode", 1) and not downgrade:
            return self._failure("INSTALL_FAILED_VERSION_DOWNGRADE", None)
        if installed and info.signer != installed.get("signer"):
            # Before Android 5 the package manager called such a replacement inconsistent.
            if self._profile.sdk < _ANDROID_5:
                return self._failure("INSTALL_PARSE_FAILED_INCONSISTENT_CERTIFICATES", None)
            return self._failure("INSTALL_FAILED_UPDATE_INCOMPATIBLE",
                                 f"Package {info.name} signatures do not match the previously installed "
                                 "version; ignoring!")
        # Before Android 5 a second definition of a permission was ignored: the first one held.
        if self._profile.sdk >= _ANDROID_5:
            for permission in info.permissions:
                owner = next((name for name, entry in packages.items()
                              if name != info.name and permission in entry.get("permissions", [])), None)
                if owner:
                    return self._failure("INSTALL_FAILED_DUPLICATE_PERMISSION",
                                         f"Package {info.name} attempting to redeclare permission {permission} "
                                         f"already owned by {owner}")
        return None

    def uninstall(self, name):
        if name in self._faults.keep:
            return self._failure("DELETE_FAILED_DEVICE_POLICY_MANAGER", None)
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

    def records(self):
        """(name, record) of every package, the system's own first, then the installed ones by path."""
        installed = sorted(self._storage.load_packages().items(), key=lambda item: (item[1]["path"], item[0]))
        return [(app.name, app.record()) for app in SYSTEM_PACKAGES] + installed

    def record(self, name):
        return dict(self.records()).get(name)

    def listing(self, with_paths, third_party_only=False, system_only=False, with_uid=False,
                with_version_code=False):
        """pm list packages: the system's packages first (unless only third-party ones are asked)."""
        lines = []
        for name, record in self.records():
            system = record.get("system", False)
            if (third_party_only and system) or (system_only and not system):
                continue
            line = f"package:{record['path']}={name}" if with_paths else f"package:{name}"
            if with_version_code:
                line += f" versionCode:{record['versionCode']}"
            if with_uid:
                line += f" uid:{record['uid']}"
            lines.append(line)
        return lines

    def path_of(self, name):
        paths = self.apk_paths(name)
        return paths[0] if paths else None

    def apk_paths(self, name):
        """The device paths of a package's APK files, base first, then its splits; None when unknown."""
        record = self.record(name)
        if record is None:
            return None
        folder = record["path"].rpartition("/")[0]
        return [record["path"]] + [f"{folder}/split_{split}.apk" for split in record.get("splits", [])]

    def launch(self, name, categories):
        """Starts the package's main activity when its filter holds one of the categories; the start is
        noted in the storage folder for tests to see. False when nothing could be started."""
        record = self.record(name)
        if record is None or not set(categories) & set(record.get("launcher", [])):
            return False
        with self._lock:
            with open(self._storage.launches_file, "a", encoding="utf-8") as launches:
                launches.write(name + "\n")
        return True

    def apk_path(self, name):
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


def app_record(path, size, info, uid, first_install, last_update, splits=()):
    """What packages.json keeps of an installed package."""
    return {"path": path, "size": size, "minSdk": info.min_sdk, "versionCode": info.version_code,
            "versionName": info.version_name, "label": info.label, "launcher": list(info.launcher),
            "splits": list(splits), "uid": uid, "firstInstallTime": first_install, "lastUpdateTime": last_update,
            "signer": info.signer, "permissions": list(info.permissions)}


def next_uid(packages):
    return max([entry.get("uid", FIRST_APP_UID - 1) for entry in packages.values()] + [FIRST_APP_UID - 1]) + 1
