"""The makes of TV box the simulator can play, with the build properties such boxes report."""

from dataclasses import dataclass

GIB = 1024 ** 3
# When the system's own apps were put on the box: the day its firmware was built.
SYSTEM_BUILD_TIME = 1230768000  # 2009-01-01 00:00:00 UTC


@dataclass(frozen=True)
class SystemApp:
    """One of the box's own apps: listed, dumped and pulled like an installed one, never in
    packages.json, and not to be uninstalled."""
    path: str
    name: str
    uid: int
    label: str = None
    launcher: tuple = ()

    def record(self):
        return {"path": self.path, "size": 0, "minSdk": 1, "versionCode": 1, "versionName": "1.0",
                "label": self.label, "launcher": list(self.launcher), "splits": [], "uid": self.uid,
                "firstInstallTime": SYSTEM_BUILD_TIME, "lastUpdateTime": SYSTEM_BUILD_TIME, "system": True}


SYSTEM_PACKAGES = (
    SystemApp("/system/framework/framework-res.apk", "android", 1000, "Android 系统"),
    SystemApp("/system/app/Settings.apk", "com.android.settings", 1000, "设置", ("LAUNCHER",)),
    SystemApp("/system/app/PackageInstaller.apk", "com.android.packageinstaller", 10010, "软件包安装程序"),
    SystemApp("/system/priv-app/Launcher.apk", "com.android.launcher", 10011, "桌面", ("HOME",)),
)
_RELEASES = {15: "4.0.4", 16: "4.1.1", 17: "4.2.2", 19: "4.4.2", 22: "5.1.1", 25: "7.1.2", 28: "9"}
_SHELL_V2 = 24  # Android 7 brought shell protocol v2 and the cmd tool


@dataclass(frozen=True)
class Profile:
    key: str
    sdk: int
    build_host: str
    model: str
    name: str
    device: str
    manufacturer: str
    capacity: int

    @property
    def features(self):
        return ("cmd", "shell_v2") if self.sdk >= _SHELL_V2 else ()

    @property
    def has_cmd(self):
        return "cmd" in self.features

    @property
    def uses_pty(self):
        """Before Android 7 every shell command ran on a pty, which turns "\\n" into "\\r\\n"."""
        return self.sdk < _SHELL_V2

    @property
    def modern_package_manager(self):
        """Android 7 moved pm onto the cmd service: it replaces an installed package without -r,
        gives a reason after each failure code and no longer echoes the file it installs."""
        return self.sdk >= _SHELL_V2

    @property
    def abis(self):
        """The processors whose native code the box runs, its own first."""
        return ("armeabi-v7a", "armeabi")

    @property
    def shared_libraries(self):
        """The system's libraries an app may require (uses-library)."""
        return ("android.test.runner", "javax.obex")

    @property
    def apk_folder_per_package(self):
        """Android 5 moved installed APKs from /data/app/<pkg>-1.apk to /data/app/<pkg>-1/base.apk."""
        return self.sdk >= 21

    def properties(self):
        return {
            "ro.build.host": self.build_host,
            "ro.build.id": f"{self.key.upper()}-{self.sdk}",
            "ro.build.type": "user",
            "ro.build.version.release": _RELEASES[self.sdk],
            "ro.build.version.sdk": str(self.sdk),
            "ro.product.brand": self.manufacturer,
            "ro.product.cpu.abi": self.abis[0],
            "ro.product.device": self.device,
            "ro.product.manufacturer": self.manufacturer,
            "ro.product.model": self.model,
            "ro.product.name": self.name,
            "ro.secure": "1",
            "service.adb.tcp.port": "5555",
        } | ({"ro.product.cpu.abilist": ",".join(self.abis)} if self.sdk >= 21 else {})

    def banner(self):
        banner = (f"device::ro.product.name={self.name};ro.product.model={self.model};"
                  f"ro.product.device={self.device};")
        if self.features:
            banner += "features=" + ",".join(self.features)
        return banner


# Each make's identifying text sits where boxes of that make put it: some in the model, some in
# the build host. No profile carries another make's text.
PROFILES = {profile.key: profile for profile in (
    Profile("mele_a100", 15, "ubuntu", "MELE_A100", "mele_a100", "a100", "MELE", 4 * GIB),
    Profile("mele", 17, "MELE-SRV02", "M8 Quad", "m8", "m8", "Shenzhen Fun", 8 * GIB),
    Profile("kiui", 19, "kiui-build", "K5 4K", "k5", "k5", "KaiBoEr", 8 * GIB),
    Profile("godbox", 17, "hmd-server", "Full AOSP on godbox", "full_godbox", "godbox", "HiMedia", 4 * GIB),
    Profile("letv", 19, "rd-server7", "LeTV New C1S", "letv_c1s", "c1s", "Letv", 8 * GIB),
    Profile("mygica", 25, "gtech-build", "MyGica ATV1960", "atv1960", "atv1960", "Geniatech", 16 * GIB),
    Profile("i5d", 16, "wobo-server", "I5D", "i5d", "i5d", "WOBO", 4 * GIB),
    Profile("mibox", 28, "c3-miui-ota-bd98.bj", "MIBOX4", "beijing", "beijing", "Xiaomi", 8 * GIB),
    Profile("generic", 22, "android-build", "TV BOX Q8", "q8", "q8", "Amlogic", 16 * GIB),
)}
