"""The program as a user starts it, in a lab with one box: time from start to the first painted
window, private memory after the first scan, and idle CPU over 10 s while the page waits for drops."""
import os
import subprocess
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402
from program import DROP_AREA, READY, Program  # noqa: E402


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


def run(build):
    config = {"adapters": [{"subnet": "10.231.77", "boxes": [{"host": 150, "profile": "mibox"}]}]}
    with Lab(build, config) as lab:
        start = time.monotonic()
        program = Program(lab, build, args=())
        painted = wait_until(lambda: program.shows(DROP_AREA), 30, interval=0.02)
        startup = time.monotonic() - start
        if not painted or not program.wait_shows(READY, 40):
            raise RuntimeError("the program did not come up")
        pid = program_pid()
        time.sleep(5)  # the scan ends within its probe limit
        memory = private_bytes(pid)
        before = cpu_seconds(pid)
        time.sleep(10)
        idle = (cpu_seconds(pid) - before) / 10 * 100
        yield "startup_paint_s", f"{startup:.2f}"
        yield "private_mb", f"{memory / 1024 / 1024:.1f}"
        yield "idle_cpu_pct", f"{idle:.2f}"
