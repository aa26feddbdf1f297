"""The download engine (its test program under Wine, five connections) against Debian's aria2c
(-x5 -s5, no pre-allocation) fetching the same 256 MB file from the same nginx in one lab:

  download_mbps, aria2_mbps, download_vs_aria2    over loopback, the better of three runs each
  download_over_link_vs_aria2                     over a link of 100 Mbit/s with 20 ms delay
  download_resume_overhead                        bytes that crossed that link for a download killed
                                                  at about half and then completed, over the size

Over loopback the two programs' own costs are measured; over the link, how well they use it. The
link counts what the server sent through it, whoever read it and whatever became of it. Seconds are
the engine's own (from the start of its program to its result) and aria2c's wall time."""
import os
import re
import subprocess
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab  # noqa: E402
from nginx import Nginx  # noqa: E402

SIZE = 256 * 1024 * 1024
NAME = "big.bin"
CONNECTIONS = 5
LINK_RATE, LINK_DELAY_MS, LINK_PORT = "100mbit", 20, 8180
LOOPBACK_RUNS = 3


def make_file(folder):
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, NAME)
    with open(path, "wb") as f:
        for _ in range(SIZE // (16 << 20)):
            f.write(os.urandom(16 << 20))
    return path


def same(path, original):
    return subprocess.run(["cmp", "-s", path, original]).returncode == 0


def ours(lab, build, url, out, resume=False):
    """Seconds of one download by the engine; resume: into what an earlier one left."""
    if os.path.exists(out) and not resume:
        os.unlink(out)
    program = [os.path.join(build, "bin", "download_probe.exe"), "--url", url, "--out", lab.windows_path(out),
               "--connections", str(CONNECTIONS), "--timeout", "600000"]
    text = lab.run_in(lab.pc, lab.wine_command(program), env=lab.wine_env(), text=True, timeout=900).stdout
    result = re.search(r"^result (\d+) \d+ \d+ (\d+)$", text, re.M)
    first = re.search(r"^notify 1 \d+ -?\d+ (\d+)$", text, re.M)
    if not result or result.group(1) != "7" or not first:
        raise RuntimeError("the engine's download failed: " + text[-500:])
    return (int(result.group(2)) - int(first.group(1))) / 1000


def aria2(lab, url, out):
    """Seconds of one download by aria2c."""
    if os.path.exists(out):
        os.unlink(out)
    command = ["aria2c", f"-x{CONNECTIONS}", f"-s{CONNECTIONS}", "--file-allocation=none", "--allow-overwrite=true",
               "--auto-file-renaming=false", "-q", "-d", os.path.dirname(out), "-o", os.path.basename(out), url]
    start = time.monotonic()
    done = lab.run_in(lab.pc, command, text=True, timeout=900)
    seconds = time.monotonic() - start
    if done.returncode != 0:
        raise RuntimeError("aria2c failed: " + done.stdout + done.stderr)
    return seconds


def link_bytes(lab):
    """What the server has sent through the shaped link so far."""
    shown = lab.run_in(lab.pc, ["tc", "-s", "class", "show", "dev", "lo"], text=True).stdout
    match = re.search(r"class htb 1:20 .*?Sent (\d+) bytes", shown, re.S)
    return int(match.group(1)) if match else 0


def killed_at_half(lab, build, url, out):
    program = lab.spawn(lab.wine_command([os.path.join(build, "bin", "download_probe.exe"), "--url", url, "--out",
                                          lab.windows_path(out), "--connections", str(CONNECTIONS)]),
                        env=lab.wine_env(), stdout=subprocess.PIPE, text=True)
    for line in program.stdout:
        words = line.split()
        if words[:2] == ["notify", "6"] and int(words[2]) >= SIZE // 2:
            break
    program.kill()
    program.wait(timeout=60)


def run(build):
    with Lab(build) as lab:
        www = os.path.join(lab.workdir, "www")
        original = make_file(www)
        out = os.path.join(lab.workdir, "out", NAME)
        os.makedirs(os.path.dirname(out))
        url = Nginx(lab, www).start().url("files", NAME)

        mine, theirs = [], []
        for _ in range(LOOPBACK_RUNS):
            mine.append(ours(lab, build, url, out))
            if not same(out, original):
                raise RuntimeError("the engine's file differs from the original")
            theirs.append(aria2(lab, url, out))
        mbps = SIZE / 1e6 / min(mine)
        aria2_mbps = SIZE / 1e6 / min(theirs)
        yield "download_mbps", f"{mbps:.1f}"
        yield "aria2_mbps", f"{aria2_mbps:.1f}"
        yield "download_vs_aria2", f"{mbps / aria2_mbps:.3f}"

        lab.server_link("127.0.0.1", 8080, LINK_PORT, LINK_RATE, LINK_DELAY_MS)
        url = url.replace(":8080/", f":{LINK_PORT}/")
        over_link = ours(lab, build, url, out)
        aria2_over_link = aria2(lab, url, out)
        yield "download_over_link_vs_aria2", f"{aria2_over_link / over_link:.3f}"

        os.unlink(out)
        before = link_bytes(lab)
        killed_at_half(lab, build, url, out)
        ours(lab, build, url, out, resume=True)
        if not same(out, original):
            raise RuntimeError("the resumed file differs from the original")
        yield "download_resume_overhead", f"{(link_bytes(lab) - before) / SIZE:.4f}"
