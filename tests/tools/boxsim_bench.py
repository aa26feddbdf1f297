#!/usr/bin/python3
"""Benchmark: how fast a 100 MB APK goes through a simulated box with Debian's adb, on both install
paths, so that the simulator is known not to be the bottleneck of a client measured against it.

Prints `name: value` lines. run(build_dir) yields the same pairs, for tools/bench.
"""

import shutil
import statistics
import tempfile
import time
from pathlib import Path

from adb_lab import AdbLab
from adbbox.test_apks import write_apk

SIZE = 100 * 1024 * 1024
ROUNDS = 3


def _seconds(action):
    started = time.monotonic()
    action()
    return time.monotonic() - started


def _install_seconds(lab, box, apk):
    def install():
        result = lab.adb("-s", box.serial, "install", "-r", apk, timeout=300)
        if "Success" not in result.stdout:
            raise RuntimeError(f"install through {box.serial} failed: {result.stdout}")
    return statistics.median(_seconds(install) for _ in range(ROUNDS))


def run(_build_dir=None):
    folder = Path(tempfile.mkdtemp(prefix="boxsim-bench-"))
    lab = AdbLab().start()
    try:
        apk = folder / "big.apk"
        yield "boxsim_make_apk_100mb_s", round(_seconds(lambda: write_apk(apk, "com.mivora.big", 9, size=SIZE)), 3)
        for path, profile in (("push", "kiui"), ("streamed", "mibox")):
            box = lab.start_box(profile)
            lab.adb("connect", box.address)
            seconds = _install_seconds(lab, box, apk)
            yield f"boxsim_{path}_install_100mb_s", round(seconds, 3)
            yield f"boxsim_{path}_install_mb_per_s", round(SIZE / seconds / 1e6, 1)
    finally:
        lab.stop()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    for name, value in run():
        print(f"{name}: {value}", flush=True)
