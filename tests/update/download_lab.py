"""A lab for the download engine: the engine's test program under Wine in a namespace of its own,
with the servers it downloads from started in that namespace: nginx (two hosts), the tests' own
scripted HTTP server, and two FTP servers (one that refuses active data connections)."""
import json
import os
import random
import struct
import subprocess
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402,F401
from nginx import Nginx  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
PROBE = os.path.join(BUILD, "bin", "download_probe.exe")
HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTED_PORT, FTP_PORT, FTP_PASSIVE_ONLY_PORT = 8090, 2121, 2122
FTP_RATE = 1_000_000  # bytes per second and data connection
MARKER = "4D69766F7261426F-86C36F73-2C25-4a7d-91EA-F5581018A42D".encode("utf-16-le")


def read_trailer(path, total):
    """The records of the trailer a partial file ends in, as (inUse, started, start, end, received)
    tuples; None when the file does not end in a trailer for total bytes of data."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.endswith(MARKER):
        return None
    length = struct.unpack("<I", data[-len(MARKER) - 4:-len(MARKER)])[0]
    count_at = len(data) - len(MARKER) - 4 - length
    if count_at != total:
        return None
    count = struct.unpack("<I", data[count_at:count_at + 4])[0]
    return [struct.unpack("<IIqqq", data[count_at + 4 + 32 * i:count_at + 36 + 32 * i]) for i in range(count)]


def trailer_bytes(records):
    body = b"".join(struct.pack("<IIqqq", *record) for record in records)
    return struct.pack("<I", len(records)) + body + struct.pack("<I", 4 + 32 * len(records)) + MARKER


class Run:
    """What one run of the test program printed."""

    def __init__(self, text):
        self.text = text
        self.notifications = []  # (code, downloaded, total, ms)
        self.result = None       # (code, downloaded, total, ms)
        self.fetch = None        # (ok, result, ms, path)
        self.metalink = None     # (file index, mirrors)
        for line in text.splitlines():
            words = line.split()
            if words[:1] == ["notify"]:
                self.notifications.append(tuple(int(w) for w in words[1:5]))
            elif words[:1] == ["result"]:
                self.result = tuple(int(w) for w in words[1:5])
            elif words[:1] == ["fetch"]:
                self.fetch = (words[1] == "1", int(words[2]), int(words[3]), " ".join(words[4:]))
            elif words[:1] == ["metalink"]:
                self.metalink = (int(words[1]), int(words[2]))

    @property
    def codes(self):
        return [n[0] for n in self.notifications]


class DownloadLab:
    def __enter__(self):
        self.lab = Lab(BUILD).__enter__()
        try:
            self.www = os.path.join(self.lab.workdir, "www")
            self.outdir = os.path.join(self.lab.workdir, "out")
            os.makedirs(self.www)
            os.makedirs(self.outdir)
            self.nginx = Nginx(self.lab, self.www).start()
            self.scripted_log = os.path.join(self.lab.workdir, "scripted.jsonl")
            self._serve([sys.executable, os.path.join(HERE, "scripted_server.py"), "--port", str(SCRIPTED_PORT),
                         "--root", self.www, "--log", self.scripted_log])
            self.ftp_log = os.path.join(self.lab.workdir, "ftp.jsonl")
            self.ftp_passive_log = os.path.join(self.lab.workdir, "ftp-passive.jsonl")
            # A transfer of a test file takes seconds rather than milliseconds, however loaded the
            # machine: every connection of a download gets to ask for its segment.
            for port, log, extra in ((FTP_PORT, self.ftp_log, ["--rate", str(FTP_RATE)]),
                                     (FTP_PASSIVE_ONLY_PORT, self.ftp_passive_log, ["--refuse-active"])):
                self._serve(["/usr/bin/python3", os.path.join(HERE, "ftp_server.py"), "--port", str(port),
                             "--root", self.www, "--log", log] + extra)
        except BaseException:
            self.lab.close()
            raise
        return self

    def __exit__(self, *exc):
        self.lab.close()
        return False

    def _serve(self, command):
        server = self.lab.spawn(command, stdout=subprocess.PIPE, text=True)
        if server.stdout.readline().strip() != "ready":
            raise RuntimeError(f"{command[1]} did not start")

    # --- files --------------------------------------------------------------------------------
    def make_file(self, name, size, seed=1):
        data = random.Random(seed).randbytes(size)
        with open(os.path.join(self.www, name), "wb") as f:
            f.write(data)
        return data

    def out(self, name):
        return os.path.join(self.outdir, name)

    def read_out(self, name):
        with open(self.out(name), "rb") as f:
            return f.read()

    # --- the engine ---------------------------------------------------------------------------
    def command(self, args):
        return self.lab.wine_command([PROBE] + [self.lab.windows_path(a[len("file:"):]) if a.startswith("file:")
                                                else a for a in args])

    def run(self, args, timeout=120):
        """Runs the test program to its end; "file:<path>" arguments become Windows paths."""
        result = self.lab.run_in(self.lab.pc, self.command(args), env=self.lab.wine_env(), text=True,
                                 timeout=timeout)
        return Run(result.stdout)

    def download(self, url, out_name, *extra, timeout=120):
        return self.run(["--url", url, "--out", "file:" + self.out(out_name)] + list(extra), timeout=timeout)

    def start(self, args):
        """The test program running in the background, its output readable line by line."""
        return self.lab.spawn(self.command(args), env=self.lab.wine_env(), stdout=subprocess.PIPE, text=True)

    # --- what the servers saw -----------------------------------------------------------------
    def scripted_requests(self):
        return _json_lines(self.scripted_log)

    def ftp_entries(self, passive_only=False):
        return _json_lines(self.ftp_passive_log if passive_only else self.ftp_log)


def _json_lines(path):
    try:
        with open(path) as f:
            return [json.loads(line) for line in f if line.strip()]
    except FileNotFoundError:
        return []
