#!/usr/bin/python3
"""The program after long use: under Wine in a lab with three simulated boxes it installs 300 APKs
in batches, one box after another, with one APK in five broken at random (seeded: SOAK_SEED replays
a run), then searches for boxes again 20 times. Prints, as `name: value` lines:

  soak_installs                       install commands the program ran
  soak_failures_expected_vs_seen      broken APKs dropped / installs the boxes refused
  soak_rss_growth_mb                  private memory after the last batch minus after the first
  soak_handle_growth                  open handles of the program, the same moments
  soak_threads_growth                 threads of the program, the same moments

and exits non-zero when a batch ends otherwise than expected (a package missing or present where
it should not be, a failure not counted) or a figure misses its goal (< 2 MB, 0 handles, 0 threads).
Usage: soak.py <build dir> [apks] [searches]
"""
import os
import random
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import DONE, READY, Program  # noqa: E402
from adbbox.storage import installed_packages  # noqa: E402
from adbbox.test_apks import write_apk, write_truncated_apk  # noqa: E402

SUBNET = "10.231.91"
BOXES = [(150, "mibox"), (151, "letv"), (152, "mele")]
BATCH = 10
RED = (0xFF, 0x00, 0x00)
EXE = "MivoraBoxAssistant.exe"


class SoakFailure(Exception):
    pass


def private_mb(exe):
    """Private memory of the program's Wine process (Wine does not report it to Windows callers)."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if exe.encode() not in f.read():
                    continue
            with open(f"/proc/{pid}/smaps_rollup") as f:
                fields = dict(re.findall(r"^(Private_\w+):\s+(\d+) kB", f.read(), re.M))
        except OSError:
            continue
        return sum(int(kb) for kb in fields.values()) / 1024
    raise SoakFailure("the program's process is gone")


def holdings(lab, build):
    """(private MB, handles, threads) of the running program."""
    output = lab.wine_output([os.path.join(build, "bin", "procstat.exe"), EXE])
    found = re.search(r"handles=(\d+) threads=(\d+)", output)
    if not found:
        raise SoakFailure(f"procstat found no running program: {output!r}")
    return private_mb(EXE), int(found.group(1)), int(found.group(2))


def make_batch(folder, number, rng):
    """BATCH APKs, about one in five broken; returns (paths, {package: broken})."""
    os.makedirs(folder, exist_ok=True)
    paths, expected = [], {}
    for i in range(BATCH):
        package = f"com.mivora.soak.b{number}a{i}"
        path = os.path.join(folder, f"soak-{number}-{i}.apk")
        broken = rng.random() < 0.2
        (write_truncated_apk if broken else write_apk)(path, package, 14)
        paths.append(path)
        expected[package] = broken
    return paths, expected


def failures_shown(program):
    """The result page counts failures in red; a batch that all went well shows no red at all."""
    return bool(program.colour_runs(RED, 250, 480))


def run_batch(program, lab, paths, expected):
    """Drops one batch on the current box; every good APK must end up on exactly one box, no
    broken one on any, and the page must count failures exactly when there were some."""
    installs = len(program.commands(" install "))
    if program.drop(paths) != "accepted":
        raise SoakFailure("the window did not take the drop")
    if not wait_until(lambda: len(program.commands(" install ")) >= installs + len(paths) and
                      (program.shows(DONE) or failures_shown(program)), 300, interval=0.5):
        raise SoakFailure("a batch did not end\n" + program.log()[-3000:])
    boxes = [installed_packages(storage) for storage in lab.boxes.values()]
    for package, broken in expected.items():
        holders = sum(package in packages for packages in boxes)
        if holders != (0 if broken else 1):
            raise SoakFailure(f"{package} ({'broken' if broken else 'good'}) is on {holders} boxes")
    if failures_shown(program) != any(expected.values()):
        raise SoakFailure(f"the page {'counts' if failures_shown(program) else 'does not count'} failures for "
                          f"a batch with {sum(expected.values())} broken APKs")


def main():
    build = os.path.abspath(sys.argv[1])
    total = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    searches = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    seed = int(os.environ.get("SOAK_SEED", "19"))
    rng = random.Random(seed)
    config = {"adapters": [{"subnet": SUBNET, "boxes": [{"host": host, "profile": profile}
                                                        for host, profile in BOXES]}]}
    # The picker lists the other boxes, then the row that searches again.
    rows = len(BOXES)
    with Lab(build, config) as lab:
        program = Program(lab, build)
        if not program.wait_shows(READY, 60):
            raise SoakFailure("no box ready\n" + program.log()[-3000:])
        broken_dropped = 0
        first = None
        for number in range(total // BATCH):
            paths, expected = make_batch(os.path.join(lab.workdir, "apks", str(number)), number, rng)
            try:
                run_batch(program, lab, paths, expected)
            except SoakFailure:
                os.makedirs(os.path.join(ROOT, "out", "soak"), exist_ok=True)
                program.screenshot(os.path.join(ROOT, "out", "soak", f"batch-{number}.png"))
                raise
            broken_dropped += sum(expected.values())
            if first is None:
                first = holdings(lab, build)
            # The next batch goes to another box.
            if not program.choose_in_picker(rows, 0) or not program.wait_shows(READY, 30):
                raise SoakFailure("another box could not be picked\n" + program.log()[-3000:])
        last = holdings(lab, build)
        for _ in range(searches):
            connects = len(program.commands("connect"))
            if not program.choose_in_picker(rows, rows - 1):
                raise SoakFailure("the picker did not show")
            if not wait_until(lambda: len(program.commands("connect")) >= connects + len(BOXES) and
                              program.shows(READY), 120, interval=0.5):
                raise SoakFailure("no box ready after searching again\n" + program.log()[-3000:])
        failures_seen = len(re.findall(r"Failure \[", program.log()))
        growth = (last[0] - first[0], last[1] - first[1], last[2] - first[2])
        print(f"soak_seed: {seed}")
        print(f"soak_installs: {len(program.commands(' install '))}")
        print(f"soak_failures_expected_vs_seen: {broken_dropped}/{failures_seen}")
        print(f"soak_rss_growth_mb: {growth[0]:.2f}")
        print(f"soak_handle_growth: {growth[1]}")
        print(f"soak_threads_growth: {growth[2]}")
        program.stop()
    return 0 if broken_dropped == failures_seen and growth[0] < 2 and growth[1] <= 0 and growth[2] <= 0 else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except SoakFailure as failure:
        sys.exit(f"soak: {failure}")
