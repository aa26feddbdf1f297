"""Network namespaces that tests make for themselves, and their removal.

A namespace made here also gets its own name service files (ip netns exec mounts /etc/netns/<name>
over /etc): names from its own hosts file only (a copy of the machine's, to which a lab adds the
names of its servers) and a resolver on the namespace's own loopback. Whatever runs inside can then
look names up without a query ever leaving for the machine's resolver, even through a resolver
daemon reached by a Unix socket."""
import os
import re
import shutil
import signal
import subprocess

ETC_NETNS = "/etc/netns"
NSSWITCH = "passwd: files\ngroup: files\nshadow: files\nhosts: files\nnetworks: files\nprotocols: files\nservices: files\n"


def add(name):
    etc = os.path.join(ETC_NETNS, name)
    os.makedirs(etc, exist_ok=True)
    with open(os.path.join(etc, "resolv.conf"), "w") as f:
        f.write("nameserver 127.0.0.1\n")
    with open(os.path.join(etc, "nsswitch.conf"), "w") as f:
        f.write(NSSWITCH)
    shutil.copyfile("/etc/hosts", os.path.join(etc, "hosts"))
    subprocess.run(["ip", "netns", "add", name], check=True)
    subprocess.run(["ip", "-n", name, "link", "set", "lo", "up"], check=True)


def add_host(name, host, address):
    """Makes host resolve to address inside the namespace, also for what already runs there (the
    file is changed in place: each process sees it through a mount of its own)."""
    with open(os.path.join(ETC_NETNS, name, "hosts"), "a") as f:
        f.write(f"{address} {host}\n")


def remove(name):
    out = subprocess.run(["ip", "netns", "pids", name], capture_output=True, text=True).stdout
    for pid in out.split():
        try:
            os.kill(int(pid), signal.SIGKILL)
        except (ProcessLookupError, ValueError):
            pass
    subprocess.run(["ip", "netns", "del", name], capture_output=True)
    shutil.rmtree(os.path.join(ETC_NETNS, name), ignore_errors=True)


def remove_stale(pattern):
    """Namespaces whose names match pattern (its first group a process id) and whose process is
    gone: left by runs that were killed before they could clean up."""
    out = subprocess.run(["ip", "netns", "list"], capture_output=True, text=True).stdout
    for line in out.splitlines():
        name = line.split()[0] if line.strip() else ""
        match = re.fullmatch(pattern, name)
        if match and not os.path.exists(f"/proc/{match.group(1)}"):
            remove(name)
