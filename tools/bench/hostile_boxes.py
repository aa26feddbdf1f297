"""What hostile boxes cost, in one lab run each:

flood_client_peak_mb: the carried client's peak memory (largest resident size, as the kernel counts
it for the Wine process) while installing a 100 MB APK on a box that answers each megabyte the
client sends with sixteen of its own (goal < 64).

stalled_box_queue_s: how long a box that stalls after its handshake holds the engine's queue, from
the model query the main window asks of it until the next box's task has run (goal: at most the
engine's limit on such a command, adb.child_limits kCommandLimitMs, 90 s; the carried client gives
up first, after its 30 s wait for the box to take the request)."""
import os
import shutil
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab  # noqa: E402
from adbbox.test_apks import write_apk  # noqa: E402

APK_BYTES = 100 * 1024 * 1024
# Runs a command and prints the largest resident size, in kilobytes, of any process it waited for.
PEAK_OF = ("import resource, subprocess, sys; subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, "
           "stderr=subprocess.DEVNULL); print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")


def start_box(lab, address, profile, *options):
    box = lab.spawn(["/usr/bin/python3", os.path.join(ROOT, "tools", "boxsim", "boxsim.py"), "--address", address,
                     "--profile", profile, "--storage", os.path.join(lab.workdir, "box-" + address),
                     "--capacity", "4G", *options], stdout=subprocess.PIPE, text=True)
    if not box.stdout.readline().startswith("ready"):
        raise RuntimeError("the simulated box did not start")


def client_copy(lab, build):
    client = os.path.join(lab.workdir, "client", "adb.exe")
    os.makedirs(os.path.dirname(client))
    shutil.copy(os.path.join(build, "adb.exe"), client)
    return client


def flood_client_peak_mb(build):
    with Lab(build) as lab:
        client = client_copy(lab, build)
        apk = os.path.join(lab.workdir, "big.apk")
        write_apk(apk, "com.mivora.big", 14, size=APK_BYTES)
        start_box(lab, "127.0.0.2", "mibox", "--fault", "flood-upload:16")
        ours = lab.wine_command([client])
        lab.run_in(lab.pc, ours + ["connect", "127.0.0.2"], env=lab.wine_env(), timeout=60)
        peak = lab.run_in(lab.pc, ["/usr/bin/python3", "-c", PEAK_OF] + ours +
                          ["-s", "127.0.0.2:5555", "install", lab.windows_path(apk)],
                          env=lab.wine_env(), text=True, timeout=600)
        return int(peak.stdout) / 1024


def stalled_box_queue_s(build):
    with Lab(build) as lab:
        client = client_copy(lab, build)
        start_box(lab, "127.0.0.2", "generic", "--fault", "hang")
        start_box(lab, "127.0.0.3", "mibox")
        run = lab.run_in(lab.pc, lab.wine_command([os.path.join(build, "bin", "queue_bench.exe"),
                                                   lab.windows_path(client), "127.0.0.2", "127.0.0.3"]),
                         env=lab.wine_env(), text=True, timeout=600)
        seconds, connected = run.stdout.split()
        if connected != "1":
            raise RuntimeError("the next box did not connect: " + run.stdout + run.stderr)
        return float(seconds)


def run(build):
    yield "flood_client_peak_mb", f"{flood_client_peak_mb(build):.1f}"
    yield "stalled_box_queue_s", f"{stalled_box_queue_s(build):.2f}"
