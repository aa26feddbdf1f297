#!/usr/bin/python3
"""A private network for running the Windows program under Wine where it can do no harm.

The program sweeps every host of its local /24 subnets, so it never runs in the machine's own network
namespace. A Lab makes a namespace "pc" for the program (loopback only, unless the configuration
gives it adapters), runs an Xvfb display and a wineserver inside it (Wine's server must live in the
namespace of the programs it serves), gives it a Wine prefix of its own, and removes everything
again when it ends, also on failure or Ctrl-C.

    with Lab(build_dir) as lab:
        program = lab.wine([exe])          # Popen, runs inside the namespace
        lab.wine_output([tool, "count", cls])

Configuration: {"adapters": [adapter, ...]}, each adapter one /24 network joined to "pc" by a veth
pair (nothing reaches the machine's own network), in this order:
    {"subnet": "10.231.77",             # the /24, as its first three octets
     "pc": 1,                           # host number of the program's computer (default 1)
     "name": "eth0",                    # the computer's interface name (default eth<index>)
     "boxes": [{"host": 20, "profile": "mibox", "args": ["--fault", "stall:5"]}],
     "refusing": [30],                  # hosts that exist but listen on nothing (connects refused)
     "silent": [40]}                    # hosts that silently drop SYNs
Every other host of the subnet is absent (nobody answers for its address).

Names resolve inside the lab only through its own hosts file: lab.add_host("update.mivora.example",
"127.0.0.1") makes a name the program asks for lead to a server the test runs in the lab.
"""
import atexit
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import netns

HERE = os.path.dirname(os.path.abspath(__file__))
# Starts Wine with the loader of the build tree's architecture (32- or 64-bit).
WINE = os.path.abspath(os.path.join(HERE, "..", "wine", "wine"))
NAME_PREFIX = "mvr"  # namespaces are "mvr<pid>-<role>"; the pid tells whether their owner still lives


def sh(*args, check=True, **kw):
    return subprocess.run(list(args), check=check, **kw)


def make_room_for_neighbours(count):
    """The kernel's table of link-layer neighbours is shared by every network namespace and holds
    1024 entries by default: a sweep of four /24 networks needs more. The limits are only raised,
    never lowered, so labs running side by side cannot undo each other."""
    for name, least in (("gc_thresh2", 2 * count), ("gc_thresh3", 4 * count)):
        path = f"/proc/sys/net/ipv4/neigh/default/{name}"
        with open(path) as f:
            current = int(f.read())
        if current < least:
            with open(path, "w") as f:
                f.write(str(least))


def clone_prefix(base, target):
    """A prefix of the lab's own: hard links for the big unchanging files, real copies of the
    registry, which Wine rewrites."""
    shutil.rmtree(target, ignore_errors=True)
    sh("cp", "-al", base, target)
    for name in os.listdir(base):
        if name.endswith(".reg"):
            os.unlink(os.path.join(target, name))
            shutil.copy2(os.path.join(base, name), os.path.join(target, name))


class Lab:
    def __init__(self, build_dir, config=None, display=None):
        """display: an X display to show the program on (the user's); None makes a private Xvfb."""
        self.build = os.path.abspath(build_dir)
        self.config = config or {}
        self.own_display = display is None
        self.tag = f"{NAME_PREFIX}{os.getpid()}"
        self.pc = f"{self.tag}-pc"
        self.namespaces = []
        self.processes = []
        self.boxes = {}  # address -> storage folder of each simulated box
        self._box_processes = {}  # address -> the simulator's process
        self.workdir = None
        self.display = display

    # --- life cycle -------------------------------------------------------------------------
    def __enter__(self):
        if os.geteuid() != 0:
            raise RuntimeError("the lab needs root (network namespaces)")
        netns.remove_stale(NAME_PREFIX + r"(\d+)-\w+")
        atexit.register(self.close)
        for sig in (signal.SIGINT, signal.SIGTERM):
            signal.signal(sig, self._on_signal)
        try:
            self.workdir = tempfile.mkdtemp(prefix=f"{self.tag}-")
            self._make_namespace(self.pc)
            adapters = self.config.get("adapters", [])
            if len(adapters) > 2:
                make_room_for_neighbours(255 * len(adapters))
            for index, adapter in enumerate(adapters):
                self._make_adapter(index, adapter)
            if self.own_display:
                self._start_display()
            self._start_wine()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _on_signal(self, signum, frame):
        self.close()
        sys.exit(128 + signum)

    def close(self):
        for proc in reversed(self.processes):
            if proc.poll() is None:
                proc.kill()
        for proc in self.processes:
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
            for stream in (proc.stdin, proc.stdout, proc.stderr):
                if stream:
                    stream.close()
        self.processes = []
        if self.workdir and os.path.isdir(os.path.join(self.workdir, "prefix")):
            subprocess.run(self.wine_command(["--server", "-k"]), env=self.wine_env(), capture_output=True)
        for name in reversed(self.namespaces):
            netns.remove(name)
        self.namespaces = []
        if self.workdir:
            shutil.rmtree(self.workdir, ignore_errors=True)
            self.workdir = None

    # --- pieces -----------------------------------------------------------------------------
    def _make_namespace(self, name):
        self.namespaces.append(name)
        netns.add(name)

    def _make_adapter(self, index, adapter):
        subnet = adapter["subnet"]
        lan = f"{self.tag}-lan{index}"
        self._make_namespace(lan)
        pc_side = adapter.get("name", f"eth{index}")
        lan_side = f"{self.tag}l{index}"[:15]
        sh("ip", "link", "add", lan_side, "netns", lan, "type", "veth", "peer", "name", pc_side, "netns", self.pc)
        sh("ip", "-n", self.pc, "addr", "add", f"{subnet}.{adapter.get('pc', 1)}/24", "dev", pc_side)
        sh("ip", "-n", self.pc, "link", "set", pc_side, "up")
        sh("ip", "-n", lan, "link", "set", lan_side, "up")
        hosts = [box["host"] for box in adapter.get("boxes", [])] + list(adapter.get("refusing", []))
        for host in hosts:
            sh("ip", "-n", lan, "addr", "add", f"{subnet}.{host}/24", "dev", lan_side)
        for host in adapter.get("silent", []):
            # The computer sends such a host's frames to a MAC that no one has: they vanish.
            sh("ip", "-n", self.pc, "neigh", "replace", f"{subnet}.{host}", "lladdr",
               f"02:00:00:00:{index:02x}:{host:02x}", "dev", pc_side, "nud", "permanent")
        for box in adapter.get("boxes", []):
            address = f"{subnet}.{box['host']}"
            storage = os.path.join(self.workdir, "box-" + address)
            proc = self.spawn(["/usr/bin/python3", os.path.join(HERE, "..", "boxsim", "boxsim.py"),
                               "--address", address, "--profile", box.get("profile", "generic"),
                               "--storage", storage] + list(box.get("args", [])),
                              namespace=lan, stdout=subprocess.PIPE, text=True)
            if not proc.stdout.readline().startswith("ready"):
                raise RuntimeError(f"the simulated box at {address} did not start")
            self.boxes[address] = storage
            self._box_processes[address] = proc

    def _start_display(self):
        # In the machine's own namespace, beside every other display: X servers pick their number by
        # the abstract sockets they can bind, and a namespace has its own, so a server started in
        # the lab would take a number that another lab's or test run's server has, and replace its
        # socket file in /tmp/.X11-unix under the clients that connect through the file. It opens no
        # network port (-nolisten tcp); the lab's programs reach it through that file.
        read_fd, write_fd = os.pipe()
        self.processes.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24",
                                                "-nolisten", "tcp"], pass_fds=(write_fd,),
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def _start_wine(self):
        sh(os.path.join(HERE, "..", "wine", "prefix"), self.build)
        clone_prefix(os.path.join(self.build, "wineprefix"), os.path.join(self.workdir, "prefix"))
        # Wine's helper processes start with the first program and keep its output handles, so
        # that first program must not write into a pipe anyone waits on.
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                     capture_output=False)
        # The server's own complaints (a failed assertion ends it, and leaves every program it
        # served waiting) are kept for the tests to show.
        with open(self.server_log_path(), "w") as log:
            self.run_in(self.pc, self.wine_command(["--server", "-p"]), env=self.wine_env(),
                        **dict(quiet, stderr=log))
        self.run_in(self.pc, self.wine_command(["cmd", "/c", "exit"]), env=self.wine_env(), timeout=120, **quiet)

    # --- running things inside --------------------------------------------------------------
    def limit_box_link(self, rate, device="lo", namespace=None):
        """Holds traffic to and from port 5555 (the boxes' debug bridge) to a box's link speed,
        e.g. "100mbit", so that transfers take as long as they would over a real network."""
        self._shape(rate, [("dport", 5555), ("sport", 5555)], device, namespace)

    def server_link(self, address, port, listen_port, rate, delay_ms):
        """A way to the server at address:port across a link of that rate (e.g. "100mbit") and
        one-way delay, as to a server on the internet: clients connect to address:listen_port."""
        self._relay(address, port, listen_port, rate, delay_ms)
        self._shape(rate, [("sport", listen_port)], "lo", None)

    def box_link(self, address, box_port, rate, delay_ms):
        """A box listening on address:box_port reached at address:5555 across a link of that rate
        both ways, whose answers come delay_ms late, as from a box across a real network."""
        self._relay(address, box_port, 5555, rate, delay_ms)
        self.limit_box_link(rate)

    def _relay(self, address, port, listen_port, rate, delay_ms):
        # A link holds what its rate carries during its delay (its bandwidth-delay product).
        number, unit = re.fullmatch(r"(\d+)([kmg]?)bit", rate).groups()
        bits = int(number) * {"": 1, "k": 10 ** 3, "m": 10 ** 6, "g": 10 ** 9}[unit]
        window = max(65536, bits // 8 * delay_ms // 1000)
        relay = self.spawn(["/usr/bin/python3", os.path.join(HERE, "link_proxy.py"), "--listen",
                            f"{address}:{listen_port}", "--server", f"{address}:{port}", "--delay-ms",
                            str(delay_ms), "--window", str(window)],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        if relay.stdout.readline().strip() != "ready":
            raise RuntimeError("the link's relay did not start")

    def _shape(self, rate, matches, device, namespace):
        ns = namespace or self.pc
        tc = ["tc", "-n", ns]
        sh(*tc, "qdisc", "add", "dev", device, "root", "handle", "1:", "htb", "default", "10")
        sh(*tc, "class", "add", "dev", device, "parent", "1:", "classid", "1:10", "htb", "rate", "40gbit",
           "quantum", "200000")
        sh(*tc, "class", "add", "dev", device, "parent", "1:", "classid", "1:20", "htb", "rate", rate,
           "ceil", rate, "burst", "256k", "cburst", "256k", "quantum", "200000")
        for direction, port in matches:
            sh(*tc, "filter", "add", "dev", device, "protocol", "ip", "parent", "1:", "prio", "1", "u32",
               "match", "ip", direction, str(port), "0xffff", "flowid", "1:20")

    def revoke_box(self, address):
        """The user of the box at address revokes every computer's debugging authorisation and
        turns down the questions that follow."""
        self._box_processes[address].send_signal(signal.SIGUSR1)

    def add_host(self, host, address):
        """Makes host resolve to address for whatever runs in the program's namespace."""
        netns.add_host(self.pc, host, address)

    def set_windows_environment(self, values):
        """Sets variables of the Windows user's environment in the lab's prefix (HKCU\\Environment)
        for the programs started afterwards. Wine takes TEMP and TMP from there: given in the Unix
        environment (wine(env=...)), they are overridden."""
        for name, value in values.items():
            self.run_in(self.pc, self.wine_command(["reg", "add", "HKCU\\Environment", "/v", name, "/d", value, "/f"]),
                        env=self.wine_env(), check=True, timeout=60)

    def wine_env(self, extra=None):
        env = dict(os.environ)
        env.update({
            "WINEPREFIX": os.path.join(self.workdir, "prefix"),
            "WINEDEBUG": "-all",
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        if self.display:
            env["DISPLAY"] = self.display
        env.update(extra or {})
        return env

    def spawn(self, args, namespace=None, **kw):
        """Starts a process inside a namespace (the program's by default); the lab ends it."""
        proc = subprocess.Popen(["ip", "netns", "exec", namespace or self.pc] + list(args), **kw)
        self.processes.append(proc)
        return proc

    def run_in(self, namespace, args, **kw):
        kw.setdefault("capture_output", True)
        return subprocess.run(["ip", "netns", "exec", namespace] + list(args), **kw)

    def wine_command(self, args):
        """The command line that runs a Windows program (or Wine's server) of this build tree."""
        return [WINE, self.build] + list(args)

    def wine(self, args, env=None, **kw):
        kw.setdefault("stdout", subprocess.DEVNULL)
        kw.setdefault("stderr", subprocess.DEVNULL)
        return self.spawn(self.wine_command(args), env=self.wine_env(env), **kw)

    def wine_output(self, args, timeout=60):
        result = self.run_in(self.pc, self.wine_command(args), env=self.wine_env(), text=True,
                             timeout=timeout)
        return result.stdout

    def windows_path(self, unix_path):
        return "Z:" + os.path.abspath(unix_path).replace("/", "\\")

    def server_log_path(self):
        return os.path.join(self.workdir, "wineserver.log")

    def server_log(self):
        """What the lab's Wine server has printed: nothing while all is well."""
        try:
            with open(self.server_log_path(), errors="replace") as log:
                return log.read()
        except FileNotFoundError:  # a lab without Wine
            return ""

    def prefix_path(self, *parts):
        return os.path.join(self.workdir, "prefix", *parts)

    def screenshot(self, path):
        # From inside: outside the namespace the display's number may name another X server.
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        self.run_in(self.pc, ["import", "-display", self.display, "-window", "root", path], check=True)


def wait_until(predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return predicate()
