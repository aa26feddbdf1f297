"""A 100 MB APK installed by our own adb.exe (under Wine, started as the program starts it) against
Debian's `adb install` to the same simulated box, one run each: on a box with `cmd` (streamed
install, the figure the goal is set for), on an old box (push, pm, rm), and on a box behind a link
as fast as a TV box's 100 Mbit/s Ethernet. At loopback speed a transfer takes a tenth of a second,
so there the start of a Windows process under Wine (several hundredths) weighs in full; over the
link only the transfer counts: own_client_start_s is what one run of the client costs before it
does anything (`adb.exe version`). Also the client's size."""
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

APK_BYTES = 100 * 1024 * 1024
PACKAGE = "com.mivora.big"
CASES = (  # (what is timed, the ratio's name, box profile, link rate or None)
    ("install", "own_client_install_ratio", "mibox", None),
    ("push_install", "own_client_push_install_ratio", "mele", None),
    ("install_100mbit", "own_client_install_ratio_100mbit", "mibox", "100mbit"),
)


def timed(lab, command, env):
    start = time.monotonic()
    result = lab.run_in(lab.pc, command, env=env, text=True, timeout=600)
    seconds = time.monotonic() - start
    if "Success" not in result.stdout:
        raise RuntimeError(f"{command[0]} install failed: {result.stdout}{result.stderr}")
    return seconds


def start_box(lab, profile, address):
    box = lab.spawn(["/usr/bin/python3", os.path.join(ROOT, "tools", "boxsim", "boxsim.py"), "--address", address,
                     "--profile", profile, "--storage", os.path.join(lab.workdir, "box-" + address),
                     "--capacity", "4G"], stdout=subprocess.PIPE, text=True)
    if not box.stdout.readline().startswith("ready"):
        raise RuntimeError("the simulated box did not start")


def measure(build, profile, rate):
    """(our seconds, Debian's seconds, our start seconds) for one install each, on one box in a lab of
    its own."""
    with Lab(build) as lab:
        if rate:
            lab.limit_box_link(rate)
        client = os.path.join(lab.workdir, "client", "adb.exe")
        os.makedirs(os.path.dirname(client))
        shutil.copy(os.path.join(build, "adb.exe"), client)
        home = os.path.join(lab.workdir, "home")
        os.makedirs(home)
        apk = os.path.join(lab.workdir, "big.apk")
        write_apk(apk, PACKAGE, 14, size=APK_BYTES)
        address = "127.0.0.2"
        serial = address + ":5555"
        start_box(lab, profile, address)
        debian = ["env", f"HOME={home}", "ANDROID_ADB_SERVER_PORT=5043", "/usr/lib/android-sdk/platform-tools/adb"]
        ours = lab.wine_command([client])
        try:
            lab.run_in(lab.pc, debian + ["connect", address], timeout=60)
            debian_seconds = timed(lab, debian + ["-s", serial, "install", "-r", apk], None)
            lab.run_in(lab.pc, debian + ["-s", serial, "uninstall", PACKAGE], timeout=60)
            lab.run_in(lab.pc, ours + ["connect", address], env=lab.wine_env(), timeout=60)
            own_seconds = timed(lab, ours + ["-s", serial, "install", "-r", lab.windows_path(apk)], lab.wine_env())
            start = time.monotonic()
            lab.run_in(lab.pc, ours + ["version"], env=lab.wine_env(), timeout=60)
            start_seconds = time.monotonic() - start
        finally:
            lab.run_in(lab.pc, debian + ["kill-server"], timeout=30)
        return own_seconds, debian_seconds, start_seconds


def run(build):
    for timed_name, ratio_name, profile, rate in CASES:
        own_seconds, debian_seconds, start_seconds = measure(build, profile, rate)
        if timed_name == "install":
            yield "own_client_start_s", f"{start_seconds:.2f}"
        yield f"own_client_{timed_name}_s", f"{own_seconds:.2f}"
        yield f"debian_adb_{timed_name}_s", f"{debian_seconds:.2f}"
        yield ratio_name, f"{own_seconds / debian_seconds:.2f}"
    yield "own_client_bytes", os.path.getsize(os.path.join(build, "adb.exe"))
