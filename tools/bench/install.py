"""A 100 MB APK installed through the engine (staging included, Debian's adb behind the bridge)
against Debian's `adb install` straight to the same simulated box, in one lab run: once at
loopback speed, where the engine's fixed costs (the silent connect Google's client needs, a second
client run, the bridge's own start) show in full, and once over a link as fast as a TV box's
100 Mbit/s Ethernet. batch.py has the same with the client the program carries."""
import os
import shutil
import subprocess
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab  # noqa: E402
from adbbox.test_apks import write_apk  # noqa: E402

BOX = "127.0.0.2"
APK_BYTES = 100 * 1024 * 1024


def start_box(lab, storage):
    proc = lab.spawn(["/usr/bin/python3", os.path.join(ROOT, "tools", "boxsim", "boxsim.py"), "--address", BOX,
                      "--profile", "mibox", "--storage", storage, "--capacity", "4G"],
                     stdout=subprocess.PIPE, text=True)
    if not proc.stdout.readline().startswith("ready"):
        raise RuntimeError("the simulated box did not start")


def run(build):
    yield from measure(build, None, "")
    yield from measure(build, "100mbit", "_100mbit")


def measure(build, rate, suffix):
    with Lab(build) as lab:
        if rate:
            lab.limit_box_link(rate)
        work = lab.workdir
        home = os.path.join(work, "home")
        client_dir = os.path.join(work, "client")
        os.makedirs(home)
        os.makedirs(client_dir)
        shutil.copy(os.path.join(build, "bin", "adbbridge.exe"), os.path.join(client_dir, "adb.exe"))
        apk = os.path.join(work, "big.apk")
        write_apk(apk, "com.mivora.big", 14, size=APK_BYTES)
        start_box(lab, os.path.join(work, "box"))

        env = lab.wine_env({"HOME": home, "ANDROID_ADB_SERVER_PORT": "5041"})
        adb = ["env", f"HOME={home}", "ANDROID_ADB_SERVER_PORT=5041", "/usr/lib/android-sdk/platform-tools/adb"]
        lab.run_in(lab.pc, adb + ["connect", BOX], timeout=60)

        start = time.monotonic()
        direct = lab.run_in(lab.pc, adb + ["-s", BOX + ":5555", "install", "-r", apk], text=True, timeout=600)
        adb_seconds = time.monotonic() - start
        if "Success" not in direct.stdout:
            raise RuntimeError("adb install failed: " + direct.stdout + direct.stderr)
        lab.run_in(lab.pc, adb + ["-s", BOX + ":5555", "uninstall", "com.mivora.big"], timeout=60)

        bench = lab.run_in(lab.pc, lab.wine_command([os.path.join(build, "bin", "install_bench.exe"),
                                                 lab.windows_path(os.path.join(client_dir, "adb.exe")), BOX,
                                                 lab.windows_path(apk)]), env=env, text=True, timeout=600)
        lab.run_in(lab.pc, adb + ["kill-server"], timeout=30)
        seconds, code = bench.stdout.split("\n")[0].split()
        if code != "2":
            raise RuntimeError("the engine's install did not succeed: code " + code)
        engine_seconds = float(seconds)
        yield "install_engine" + suffix + "_s", f"{engine_seconds:.2f}"
        yield "install_adb" + suffix + "_s", f"{adb_seconds:.2f}"
        yield "install_ratio" + suffix, f"{engine_seconds / adb_seconds:.2f}"
