"""The box's transport seen by a hand-written host on loopback: framing, flow control, refusals."""

import os
import socket
import struct
import subprocess
import unittest

from boxsim_support import TempDirTest
from adbbox import Box, Faults

CNXN, AUTH, OPEN, OKAY, CLSE, WRTE = (struct.unpack("<I", name)[0] for name in
                                      (b"CNXN", b"AUTH", b"OPEN", b"OKAY", b"CLSE", b"WRTE"))
VERSION = 0x01000001


def message(command, arg0, arg1, payload=b""):
    return struct.pack("<6I", command, arg0, arg1, len(payload), sum(payload) & 0xFFFFFFFF,
                       command ^ 0xFFFFFFFF) + payload


class RawHost:
    def __init__(self, address, port):
        self.sock = socket.create_connection((address, port), timeout=5)

    def send(self, command, arg0, arg1, payload=b""):
        self.sock.sendall(message(command, arg0, arg1, payload))

    def receive(self):
        command, arg0, arg1, length, check, magic = struct.unpack("<6I", self.exactly(24))
        assert magic == command ^ 0xFFFFFFFF
        payload = self.exactly(length)
        assert check in (0, sum(payload) & 0xFFFFFFFF)
        return command, arg0, arg1, payload

    def exactly(self, count):
        data = b""
        while len(data) < count:
            part = self.sock.recv(count - len(data))
            if not part:
                raise ConnectionError("closed by the box")
            data += part
        return data

    def closed_by_box(self):
        try:
            return self.sock.recv(1) == b""
        except ConnectionResetError:
            return True

    def close(self):
        self.sock.close()


class TransportTest(TempDirTest):
    def start_box(self, **options):
        box = Box("127.0.0.1", self.temp / "box", port=0, **options).start()
        self.addCleanup(box.stop)
        host = RawHost(box.address, box.port)
        self.addCleanup(host.close)
        return box, host

    def connect(self, host, max_payload=256 * 1024):
        host.send(CNXN, VERSION, max_payload, b"host::\0")
        return host.receive()

    def open_shell(self, host, command, local_id=7):
        host.send(OPEN, local_id, 0, f"shell:{command}\0".encode())
        reply = host.receive()
        self.assertEqual((reply[0], reply[2]), (OKAY, local_id))
        return reply[1]

    def test_handshake_sent_one_byte_at_a_time(self):
        _, host = self.start_box(profile="mibox")
        for byte in message(CNXN, VERSION, 1 << 20, b"host::features=shell_v2\0"):
            host.sock.sendall(bytes([byte]))
        command, version, max_payload, banner = host.receive()
        self.assertEqual(command, CNXN)
        self.assertGreaterEqual(max_payload, 256 * 1024)
        self.assertEqual(version, VERSION)
        self.assertEqual(banner, b"device::ro.product.name=beijing;ro.product.model=MIBOX4;"
                                 b"ro.product.device=beijing;features=cmd,shell_v2")

    def test_output_larger_than_the_hosts_limit_waits_for_each_okay(self):
        _, host = self.start_box(profile="generic")
        self.connect(host, max_payload=4096)
        word = "x" * 10_000
        remote = self.open_shell(host, f"echo {word}")
        received = b""
        while True:
            command, arg0, arg1, payload = host.receive()
            if command == CLSE:
                break
            self.assertEqual((command, arg0, arg1), (WRTE, remote, 7))
            self.assertLessEqual(len(payload), 4096)
            received += payload
            host.sock.settimeout(0.3)
            with self.assertRaises(socket.timeout, msg="a second WRTE before the OKAY"):
                host.sock.recv(1)
            host.sock.settimeout(5)
            host.send(OKAY, 7, remote)
        self.assertEqual(received, (word + "\r\n").encode())  # SDK 22: output through a pty

    def test_unknown_service_is_refused(self):
        _, host = self.start_box()
        self.connect(host)
        host.send(OPEN, 3, 0, b"jdwp:1234\0")
        self.assertEqual(host.receive()[:3], (CLSE, 0, 3))
        self.open_shell(host, "echo still here", local_id=4)

    def test_garbage_ends_the_connection(self):
        _, host = self.start_box()
        host.sock.sendall(b"GET / HTTP/1.0\r\n\r\n" + b"\0" * 10)
        self.assertTrue(host.closed_by_box())

    def test_wrong_signature_gets_a_fresh_token(self):
        _, host = self.start_box(auth="trusted")
        command, kind, _, token = self.connect(host)
        self.assertEqual((command, kind, len(token)), (AUTH, 1, 20))
        host.send(AUTH, 2, 0, os.urandom(256))
        command, kind, _, second = host.receive()
        self.assertEqual((command, kind, len(second)), (AUTH, 1, 20))
        self.assertNotEqual(token, second)

    def test_trusted_mode_turns_an_unknown_key_away(self):
        _, host = self.start_box(auth="trusted")
        self.connect(host)
        key = self.temp / "adbkey"
        subprocess.run(["openssl", "genrsa", "-out", str(key), "2048"], check=True, capture_output=True)
        public = subprocess.run([self.tool("adb"), "pubkey", str(key)], check=True, capture_output=True).stdout
        host.send(AUTH, 3, 0, public.strip() + b"\0")
        self.assertTrue(host.closed_by_box())

    def test_accept_and_close_fault(self):
        _, host = self.start_box(faults=Faults(close=True))
        self.assertTrue(host.closed_by_box())

    def test_refuse_fault_listens_nowhere(self):
        probe = socket.socket()
        probe.bind(("127.0.0.1", 0))
        free_port = probe.getsockname()[1]
        probe.close()
        box = Box("127.0.0.1", self.temp / "box", port=free_port, faults=Faults(refuse=True)).start()
        self.addCleanup(box.stop)
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", free_port), timeout=5)


if __name__ == "__main__":
    unittest.main(verbosity=2)
