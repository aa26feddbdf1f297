"""The discovery worker's sweep against nmap over the same /24 in the same lab namespace: time to the
first box, to the last box and to the end-of-scan message (one /24 with 2 boxes and a silent host),
and the end of a sweep of four /24 networks (1,020 probes)."""
import os
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab  # noqa: E402


def sweep(lab, build):
    out = lab.wine_output([os.path.join(build, "bin", "scan_probe.exe")], timeout=120)
    found = [int(line.split()[2]) / 1000 for line in out.splitlines() if line.startswith("found")]
    ends = [int(line.split()[1]) / 1000 for line in out.splitlines() if line.startswith("end")]
    return found, ends


def run(build):
    config = {"adapters": [{"subnet": "10.231.77", "silent": [40],
                            "boxes": [{"host": 150, "profile": "mibox"}, {"host": 20, "profile": "mele"}]}]}
    with Lab(build, config) as lab:
        found, ends = sweep(lab, build)
        start = time.monotonic()
        nmap = lab.run_in(lab.pc, ["nmap", "-sT", "-Pn", "-n", "-p5555", "--open", "10.231.77.0/24"],
                          text=True, timeout=300)
        nmap_seconds = time.monotonic() - start
        if nmap.stdout.count("5555/tcp open") != 2 or len(found) != 2:
            raise RuntimeError("the sweep or nmap did not find both boxes")
        yield "scan_first_box_s", f"{min(found):.3f}"
        yield "scan_all_boxes_s", f"{max(found):.3f}"
        yield "scan_end_s", f"{ends[0]:.3f}"
        yield "nmap_s", f"{nmap_seconds:.3f}"
        yield "scan_all_vs_nmap", f"{max(found) / nmap_seconds:.3f}"

    four = {"adapters": [{"subnet": prefix} for prefix in ("10.231.77", "10.231.78", "172.20.5", "192.168.1")]}
    four["adapters"][2]["boxes"] = [{"host": 7, "profile": "letv"}]
    with Lab(build, four) as lab:
        found, ends = sweep(lab, build)
        yield "scan_4x24_box_s", f"{found[0]:.3f}"
        yield "scan_4x24_end_s", f"{ends[0]:.3f}"
