#!/usr/bin/python3
"""The discovery worker under Wine in lab networks: what it reports, in what order it probes, that
every scan ends within the probe limit, and that no socket stays open. Packets are watched with
tcpdump inside the lab; nothing leaves it."""
import os
import re
import signal
import subprocess
import sys
import threading
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab  # noqa: E402

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(ROOT, "build", "windows"))
PROBE = os.path.join(BUILD, "bin", "scan_probe.exe")
PROBE_LIMIT_MS = 4000
MAX_PROBES_IN_FLIGHT = 256
MARGIN_MS = 3000
# The order hosts are probed in; .255 is the broadcast address, which the system refuses at once,
# so no packet of it can be seen.
HOST_ORDER = list(range(100, 200)) + list(range(1, 100)) + list(range(200, 255))


def parse(output):
    """The worker's messages: (found addresses with their times, end times)."""
    found, ends = [], []
    for line in output.splitlines():
        parts = line.split()
        if parts and parts[0] == "found":
            found.append((parts[1], int(parts[2])))
        elif parts and parts[0] == "end":
            ends.append(int(parts[1]))
    return found, ends


def scan(lab, *args, timeout=60):
    return parse(lab.wine_output([PROBE] + list(args), timeout=timeout))


def scan_counting_probes(lab, *args):
    """Like scan, with the most probes that were open at one time while it ran."""
    proc = lab.spawn(lab.wine_command([PROBE] + list(args)), env=lab.wine_env(), stdout=subprocess.PIPE, text=True)
    output = []
    reader = threading.Thread(target=lambda: output.append(proc.stdout.read()))
    reader.start()
    most = 0
    while proc.poll() is None:
        most = max(most, len(open_probe_sockets(lab)))
        time.sleep(0.05)
    reader.join()
    return parse(output[0]), most


class Capture:
    """First packet toward each host: its ARP request, or its SYN when its address is resolved.
    Written to a file through a large buffer: a sweep sends a thousand packets at once."""

    FILTER = "(arp[6:2] == 1) or (tcp[tcpflags] & (tcp-syn|tcp-ack) == tcp-syn and dst port 5555)"

    def __init__(self, lab):
        self.file = os.path.join(lab.workdir, "sweep.pcap")
        self.proc = lab.spawn(["tcpdump", "-i", "any", "-nn", "-B", "32768", "-w", self.file, self.FILTER],
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        while "listening on" not in self.proc.stderr.readline():
            pass

    def first_contacts(self):
        time.sleep(0.3)
        self.proc.send_signal(signal.SIGINT)
        self.proc.wait(timeout=30)
        packets = subprocess.run(["tcpdump", "-nn", "-r", self.file], capture_output=True, text=True).stdout
        seen = []
        for line in packets.splitlines():
            match = re.search(r"who-has (\d+\.\d+\.\d+\.\d+)", line) or re.search(r"> (\d+\.\d+\.\d+\.\d+)\.5555:", line)
            if match and match.group(1) not in seen:
                seen.append(match.group(1))
        return seen


def open_probe_sockets(lab):
    out = lab.run_in(lab.pc, ["ss", "-tanH"], text=True).stdout
    return [line for line in out.splitlines() if ":5555" in line and not line.startswith("TIME-WAIT")]


class OneSubnet(unittest.TestCase):
    CONFIG = {"adapters": [{"subnet": "10.231.77",
                            "boxes": [{"host": 150, "profile": "mibox"}, {"host": 20, "profile": "mele"}],
                            "refusing": [30], "silent": [40]}]}

    def test_reports_each_box_once_then_one_end_in_order_and_closes_everything(self):
        with Lab(BUILD, self.CONFIG) as lab:
            capture = Capture(lab)
            found, ends = scan(lab)
            contacts = capture.first_contacts()

            self.assertEqual(sorted(address for address, _ in found), ["10.231.77.150", "10.231.77.20"])
            self.assertEqual(len(ends), 1, "exactly one end-of-scan message")
            self.assertGreater(ends[0], max(ms for _, ms in found))
            # The silent host keeps the scan open until the probe limit, and no longer.
            self.assertGreaterEqual(ends[0], PROBE_LIMIT_MS - 100)
            self.assertLess(ends[0], PROBE_LIMIT_MS + MARGIN_MS)
            self.assertEqual(contacts, [f"10.231.77.{host}" for host in HOST_ORDER])
            self.assertEqual(open_probe_sockets(lab), [])

    def test_two_scans_in_a_row_report_every_box_twice(self):
        with Lab(BUILD, self.CONFIG) as lab:
            found, ends = scan(lab, "--scans", "2", "--wait-ms", str(PROBE_LIMIT_MS + MARGIN_MS + 2000))
            self.assertEqual(sorted(address for address, _ in found),
                             ["10.231.77.150", "10.231.77.150", "10.231.77.20", "10.231.77.20"])
            self.assertEqual(len(ends), 1, "one count covers both sets of probes")
            self.assertEqual(open_probe_sockets(lab), [])


class SubnetOrder(unittest.TestCase):
    def test_home_networks_first_then_adapter_order_and_no_bluetooth_with_room_for_every_probe(self):
        config = {"adapters": [
            {"subnet": "10.231.77", "boxes": [{"host": 150, "profile": "mibox"}]},
            {"subnet": "192.168.1", "boxes": [{"host": 160, "profile": "letv"}]},
            {"subnet": "172.20.5", "boxes": [{"host": 250, "profile": "kiui"}]},
            {"subnet": "10.77.0", "name": "Bluetooth0", "boxes": [{"host": 150, "profile": "kiui"}]},
            {"subnet": "192.168.0"},
        ]}
        with Lab(BUILD, config) as lab:
            capture = Capture(lab)
            # Four subnets of mostly absent hosts: the probes go in turns, each open up to the limit.
            (found, ends), most_open = scan_counting_probes(lab, "--wait-ms", "90000")
            contacts = capture.first_contacts()

            self.assertEqual(sorted(address for address, _ in found),
                             ["10.231.77.150", "172.20.5.250", "192.168.1.160"], "the last probed box too")
            self.assertEqual(len(ends), 1)
            self.assertLessEqual(most_open, MAX_PROBES_IN_FLIGHT)
            self.assertGreater(most_open, MAX_PROBES_IN_FLIGHT // 2, "probes are open side by side")
            subnets = []
            for address in contacts:
                prefix = address.rsplit(".", 1)[0]
                if prefix not in subnets:
                    subnets.append(prefix)
            self.assertEqual(subnets, ["192.168.0", "192.168.1", "10.231.77", "172.20.5"])
            for prefix in subnets:
                self.assertEqual([a for a in contacts if a.startswith(prefix + ".")],
                                 [f"{prefix}.{host}" for host in HOST_ORDER])


class NoAdapter(unittest.TestCase):
    def test_no_qualifying_adapter_means_no_message_at_all(self):
        with Lab(BUILD) as lab:
            found, ends = scan(lab, "--wait-ms", "3000")
            self.assertEqual(found, [])
            self.assertEqual(ends, [])


if __name__ == "__main__":
    unittest.main()
