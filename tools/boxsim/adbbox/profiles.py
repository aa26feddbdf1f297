"""The makes of TV box the simulator can play, with the build properties such boxes report."""

from dataclasses import dataclass

GIB = 1024 ** 3
# What a box answers for its own system apps in a package listing; never in packages.json.
SYSTEM_PACKAGES = (
    ("/system/framework/framework-res.apk", "android"),
    ("/system/app/Settings.apk", "com.android.settings"),
    ("/system/app/PackageInstaller.apk", "com.android.packageinstaller"),
    ("/system/priv-app/Launcher.apk", "com.android.launcher"),
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
            "ro.product.cpu.abi": "armeabi-v7a",
            "ro.product.device": self.device,
            "ro.product.manufacturer": self.manufacturer,
            "ro.product.model": self.model,
            "ro.product.name": self.name,
            "ro.secure": "1",
            "service.adb.tcp.port": "5555",
        }

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
