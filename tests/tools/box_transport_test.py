"""The box's transport seen by a hand-written host on loopback: framing, flow control, refusals."""

import os
import socket
import struct
import subprocess
import time
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

    def test_hang_fault_answers_nothing_after_the_handshake(self):
        _, host = self.start_box(faults=Faults(hang=True))
        self.assertEqual(self.connect(host)[0], CNXN)
        host.send(OPEN, 7, 0, b"shell:echo hello\0")
        host.sock.settimeout(1.5)
        with self.assertRaises(socket.timeout):
            host.sock.recv(1)

    def test_flood_fault_streams_without_waiting_for_the_host(self):
        _, host = self.start_box(faults=Faults(flood=True))
        self.connect(host, max_payload=4096)
        # Before any stream is opened, and without a single OKAY from the host.
        for _ in range(50):
            command, _, _, payload = host.receive()
            self.assertEqual(command, WRTE)
            self.assertEqual(len(payload), 4096)
            self.assertTrue(payload.startswith(b"flood flood "))
        # Once a stream is open, the flood goes there.
        host.send(OPEN, 9, 0, b"shell:echo hi\0")
        for _ in range(50_000):  # what the flood had already put on the way comes first
            command, _, arg1, _ = host.receive()
            if command == WRTE and arg1 == 9:
                break
        else:
            self.fail("the opened stream got nothing")

    def test_trickle_fault_answers_each_service_with_a_byte_a_second(self):
        _, host = self.start_box(faults=Faults(trickle=True))
        self.connect(host)
        remote = self.open_shell(host, "echo hello")
        started = time.monotonic()
        for _ in range(3):
            self.assertEqual(host.receive(), (WRTE, remote, 7, b"."))
            host.send(OKAY, 7, remote)
        self.assertGreater(time.monotonic() - started, 1.5, "a byte a second")

    def test_flood_upload_fault_answers_each_write_of_an_upload_with_more(self):
        _, host = self.start_box(profile="mibox", faults=Faults(flood_upload=3))
        self.connect(host, max_payload=4096)
        host.send(OPEN, 5, 0, b"exec:cmd package install -S 100\0")
        command, remote, _, _ = host.receive()
        self.assertEqual(command, OKAY)
        host.send(WRTE, 5, remote, b"PK" + b"\0" * 8)
        for _ in range(3):
            command, _, arg1, payload = host.receive()
            self.assertEqual((command, arg1, len(payload)), (WRTE, 5, 4096))
        self.assertEqual(host.receive()[0], OKAY, "then the write is acknowledged")

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
