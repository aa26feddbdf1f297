"""What users meet when they drop APKs: ten ordinary APKs (5 MB each) dropped at once, installed
through the engine with the client the program carries, from the Install call to the last result
(batch10_engine_s), against Debian's adb installing the same ten files one after the other in a
shell loop (batch10_adb_s), on the same simulated box; at loopback speed and across a 100 Mbit/s
link whose answers come 2 ms late (_100mbit). Then one 100 MB APK the same two ways
(install_own_engine_s, install_own_ratio).

The engine runs in install_bench.exe (the engine itself, without the window, under Wine). Where the
time of one install through the engine goes (install_phase_*_s for a 5 MB APK, install100_phase_*_s
for the 100 MB one): the pieces the engine is made of, timed alone (the client's start doing
nothing, the staging of the APK), and the box's log set beside the engine's clock (the connect line,
the install's handshake, the upload, the box's own install). The anchor: wine_process_start_s, a
bare Windows console program started as the engine starts the carried client (without a console),
and wine_console_process_start_s, the same with a hidden console of its own (as Google's client is
started), which under Wine costs a second process."""
import contextlib
import datetime
import os
import re
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
LINKED_BOX_PORT = 5557  # behind the link's relay, which takes 5555
MB = 1024 * 1024
BATCH = 10
DEBIAN_ADB = "/usr/lib/android-sdk/platform-tools/adb"
SUCCESS = "2"
LOG_LINE = re.compile(r"boxsim (\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3}) (.*)")


class Bench:
    """One simulated box in a lab, with Debian's adb connected to it and our client beside it."""

    def __init__(self, build, lab, debian, box_log):
        self.build = build
        self.lab = lab
        self.debian = debian
        self.box_log = box_log
        self.client = os.path.join(lab.workdir, "client", "adb.exe")
        os.makedirs(os.path.dirname(self.client))
        shutil.copy(os.path.join(build, "adb.exe"), self.client)
        self.apk_dir = os.path.join(lab.workdir, "apks")
        os.makedirs(self.apk_dir)

    def apks(self, name, count, size):
        paths = []
        for i in range(count):
            path = os.path.join(self.apk_dir, f"{name}{i}.apk")
            write_apk(path, f"com.mivora.{name}{i}", 14, size=size, seed=i)
            paths.append(path)
        return paths

    def debian_installs(self, apks):
        """Seconds for Debian's adb to install the APKs one after the other in a shell loop."""
        loop = 'for apk; do "$0" -s ' + BOX + ':5555 install "$apk" || exit 1; done'
        start = time.monotonic()
        run = self.lab.run_in(self.lab.pc, self.debian[:-1] + ["sh", "-c", loop, self.debian[-1]] + apks,
                              text=True, timeout=900)
        seconds = time.monotonic() - start
        if run.returncode or run.stdout.count("Success") != len(apks):
            raise RuntimeError("Debian's adb did not install the batch: " + run.stdout + run.stderr)
        self.uninstall(apks)
        return seconds

    def engine_installs(self, apks):
        """(seconds, Unix times of the Install call and of the last result) for the engine to
        install the APKs."""
        run = self.lab.run_in(self.lab.pc, self.lab.wine_command(
            [os.path.join(self.build, "bin", "install_bench.exe"), self.lab.windows_path(self.client), BOX] +
            [self.lab.windows_path(apk) for apk in apks]), env=self.lab.wine_env(), text=True, timeout=900)
        lines = run.stdout.split("\n")
        figures = lines[0].split() if lines else []
        if len(figures) != len(apks) + 1 or set(figures[1:]) != {SUCCESS}:
            raise RuntimeError("the engine's installs did not all succeed: " + run.stdout + run.stderr)
        self.uninstall(apks)
        return float(figures[0]), [float(at) for at in lines[1].split()[1:]]

    def pieces(self, apk):
        run = self.lab.run_in(self.lab.pc, self.lab.wine_command(
            [os.path.join(self.build, "bin", "install_bench.exe"), self.lab.windows_path(self.client), BOX,
             "--pieces", self.lab.windows_path(os.path.join(self.build, "bin", "emit.exe")),
             self.lab.windows_path(apk)]), env=self.lab.wine_env(), text=True, timeout=300)
        figures = dict(line.split() for line in run.stdout.splitlines() if line.strip())
        if set(figures) != {"start", "console_start", "client_start", "staging"}:
            raise RuntimeError("install_bench --pieces: " + run.stdout + run.stderr)
        return {name: float(value) for name, value in figures.items()}

    def uninstall(self, apks):
        for apk in apks:
            package = "com.mivora." + os.path.basename(apk)[:-4]
            self.lab.run_in(self.lab.pc, self.debian + ["-s", BOX + ":5555", "uninstall", package], timeout=60)

    def box_events(self, since, until):
        """What the box logged between those Unix times: (time, what) in order."""
        events = []
        with open(self.box_log) as log:
            for line in log:
                match = LOG_LINE.match(line)
                if not match:
                    continue
                at = datetime.datetime.strptime(match.group(1), "%Y-%m-%d %H:%M:%S,%f").timestamp()
                if since - 0.002 <= at <= until + 0.002:
                    events.append((at, match.group(2)))
        return events


def phases(events, started, total, pieces):
    """Where the time of one install went, from the box's events after the Install call."""
    connections = {}  # the host's port -> {event: time}
    order = []
    received = installed = None
    for at, what in events:
        peer = re.search(r"(?:connection from|host) 127\.0\.0\.1:(\d+)", what)
        if peer:
            times = connections.setdefault(peer.group(1), {})
            if peer.group(1) not in order:
                order.append(peer.group(1))
        for event, pattern in (("accepted", "connection from"), ("online", ": online"),
                               ("opened", "open 'exec:cmd package install"), ("gone", ": gone")):
            if peer and pattern in what:
                times.setdefault(event, at)
        if "streamed install:" in what and "bytes received" in what:
            received = at
        elif "streamed install:" in what:
            installed = at
    installing = [port for port in order if "opened" in connections[port]]
    if len(installing) != 1 or received is None or installed is None:
        raise RuntimeError(f"the box's log holds {len(installing)} installs, not one")
    install = connections[installing[0]]
    others = [connections[port] for port in order if port != installing[0]]
    connect = max((c["gone"] for c in others if "gone" in c), default=started) - started
    figures = {
        "processes": len(order),
        "process_start_s": pieces["client_start"],
        "staging_s": pieces["staging"],
        "connect_s": connect,
        "handshake_s": install["online"] - install["accepted"],
        "transfer_s": received - install["opened"],
        "box_install_s": installed - received,
    }
    figures["other_s"] = total - sum(value for name, value in figures.items() if name.endswith("_s"))
    figures["total_s"] = total
    return figures


@contextlib.contextmanager
def box_bench(build, link):
    with Lab(build) as lab:
        port = LINKED_BOX_PORT if link else 5555
        box_log = os.path.join(lab.workdir, "box.log")
        with open(box_log, "w") as log:
            box = lab.spawn(["/usr/bin/python3", os.path.join(ROOT, "tools", "boxsim", "boxsim.py"), "--address", BOX,
                             "--port", str(port), "--profile", "mibox", "--storage", os.path.join(lab.workdir, "box"),
                             "--capacity", "4G", "--verbose"], stdout=subprocess.PIPE, stderr=log, text=True)
        if not box.stdout.readline().startswith("ready"):
            raise RuntimeError("the simulated box did not start")
        if link:
            lab.box_link(BOX, port, "100mbit", 2)
        home = os.path.join(lab.workdir, "home")
        os.makedirs(home)
        debian = ["env", f"HOME={home}", "ANDROID_ADB_SERVER_PORT=5044", DEBIAN_ADB]
        lab.run_in(lab.pc, debian + ["connect", BOX], timeout=60)
        try:
            yield Bench(build, lab, debian, box_log)
        finally:
            lab.run_in(lab.pc, debian + ["kill-server"], timeout=30)


def batch(bench, suffix):
    apks = bench.apks("batch", BATCH, 5 * MB)
    adb_seconds = bench.debian_installs(apks)
    engine_seconds, _ = bench.engine_installs(apks)
    yield "batch10_engine" + suffix + "_s", f"{engine_seconds:.2f}"
    yield "batch10_adb" + suffix + "_s", f"{adb_seconds:.2f}"
    yield "batch10_ratio" + suffix, f"{engine_seconds / adb_seconds:.2f}"


def one_install(bench, apk, prefix):
    """One install through the engine: (its seconds, the pieces' figures) after its phases."""
    pieces = bench.pieces(apk)
    seconds, (started, ended) = bench.engine_installs([apk])
    for name, value in phases(bench.box_events(started, ended), started, seconds, pieces).items():
        yield f"{prefix}_{name}", value if name == "processes" else f"{value:.3f}"
    return seconds, pieces


def run(build):
    with box_bench(build, link=False) as bench:
        yield from batch(bench, "")
        _, pieces = yield from one_install(bench, bench.apks("single", 1, 5 * MB)[0], "install_phase")
        yield "wine_process_start_s", f"{pieces['start']:.3f}"
        yield "wine_console_process_start_s", f"{pieces['console_start']:.3f}"
        big = bench.apks("big", 1, 100 * MB)
        adb_seconds = bench.debian_installs(big)
        engine_seconds, _ = yield from one_install(bench, big[0], "install100_phase")
        yield "install_own_engine_s", f"{engine_seconds:.2f}"
        yield "install_own_adb_s", f"{adb_seconds:.2f}"
        yield "install_own_ratio", f"{engine_seconds / adb_seconds:.2f}"
    with box_bench(build, link=True) as bench:
        yield from batch(bench, "_100mbit")
