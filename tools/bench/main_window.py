"""The program as a user starts it, in a lab with one box: time from start to the first painted
page, beside the same time for a bare window of ours that paints one picture (bare_window.cpp), both
started and watched the same way and in turns; private memory after the first scan; idle CPU over
10 s while the page waits for drops; and the time of one full repaint of the install page
(paint_bench.cpp)."""
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402
from program import DROP_AREA, READY, Program  # noqa: E402

ROUNDS = 3  # starts of each program; their medians are reported


def program_pid():
    out = subprocess.run(["pgrep", "-f", "program/MivoraBoxAssistant.exe"], capture_output=True, text=True).stdout
    return int(out.split()[0])


def private_bytes(pid):
    total = 0
    with open(f"/proc/{pid}/smaps_rollup") as f:
        for line in f:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1]) * 1024
    return total


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def first_paint(lab, build, exe=None):
    """Starts a program and returns it with the seconds until the drop area shows on the screen."""
    start = time.monotonic()
    program = Program(lab, build, args=(), exe=exe)
    if not wait_until(lambda: program.shows(DROP_AREA), 30, interval=0.02):
        raise RuntimeError(f"{os.path.basename(program.exe)} painted no drop area")
    return program, time.monotonic() - start


def run(build):
    config = {"adapters": [{"subnet": "10.231.77", "boxes": [{"host": 150, "profile": "mibox"}]}]}
    bare_exe = os.path.join(build, "bin", "bare_window.exe")
    with Lab(build, config) as lab:
        startup, bare = [], []
        program = None
        for turn in range(ROUNDS):
            baseline, seconds = first_paint(lab, build, bare_exe)
            bare.append(seconds)
            baseline.stop()
            program, seconds = first_paint(lab, build)
            startup.append(seconds)
            if turn < ROUNDS - 1:
                program.stop()
        if not program.wait_shows(READY, 40):
            raise RuntimeError("the program did not come up")
        pid = program_pid()
        time.sleep(5)  # the scan ends within its probe limit
        memory = private_bytes(pid)
        before = cpu_seconds(pid)
        time.sleep(10)
        idle = (cpu_seconds(pid) - before) / 10 * 100
        program.stop()

        out = lab.wine_output([os.path.join(build, "bin", "paint_bench.exe"),
                               lab.windows_path(os.path.join(build, "adb.exe"))], timeout=240)
        paints = dict(line.split() for line in out.splitlines() if line.startswith("paint_ms_"))
        if "paint_ms_p50" not in paints:
            raise RuntimeError("paint_bench: " + out.strip())

    startup_s, bare_s = statistics.median(startup), statistics.median(bare)
    yield "startup_paint_s", f"{startup_s:.2f}"
    yield "bare_window_paint_s", f"{bare_s:.2f}"
    yield "startup_vs_bare", f"{startup_s / bare_s:.2f}"
    yield "private_mb", f"{memory / 1024 / 1024:.1f}"
    yield "idle_cpu_pct", f"{idle:.2f}"
    yield "paint_ms_p50", paints["paint_ms_p50"]
