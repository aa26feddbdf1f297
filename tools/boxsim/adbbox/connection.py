"""One host connection to a box: handshake, authentication and the streams opened over it."""

import heapq
import itertools
import logging
import os
import select
import socket
import struct
import time

from . import wire
from .auth import InvalidKey, TOKEN_SIZE, parse_public_key
from .faults import DropConnection
from .services import service_for
from .streams import Stream

log = logging.getLogger("boxsim")

AUTH_MODES = ("none", "trusted", "ask-accept", "ask-reject", "ask-never")
# What a flooding box sends, cut to the connection's largest payload.
_FLOOD_TEXT = b"flood " * (wire.MAX_PAYLOAD // 6 + 1)
# What a trickling box sends each second: no line end, so that no answer ever completes.
_TRICKLE_BYTE = b"."
_TRICKLE_PERIOD = 1.0


class _CloseConnection(Exception):
    """Ends the connection in an orderly way (the box turned the host away)."""


class Connection:
    def __init__(self, sock, box):
        self._sock = sock
        self._box = box
        self._reader = wire.PacketReader(wire.MAX_PAYLOAD)
        self._streams = {}
        self._last_stream = None  # the stream the host opened last: where a flood goes
        self._ids = itertools.count(1)
        self._timers = []
        self._timer_order = itertools.count()
        self._token = None
        self._online = False
        self._checksums = True
        self.max_payload = wire.MAX_PAYLOAD_V1
        self.peer = "host %s:%d" % sock.getpeername()[:2]

    def serve(self):
        """Runs the connection until the host leaves, the box turns it away or the box stops."""
        try:
            if self._box.faults.stall and self._box.stopping.wait(self._box.faults.stall):
                return
            self._loop()
        except DropConnection as reason:
            log.info("%s: %s", self.peer, reason)
            self._sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        except _CloseConnection as reason:
            log.info("%s: closed: %s", self.peer, reason)
        except (OSError, wire.ProtocolError) as error:
            log.info("%s: %s", self.peer, error)
        finally:
            for stream in list(self._streams.values()):
                stream.service.host_closed()
            self._sock.close()
            log.info("%s: gone", self.peer)

    def _loop(self):
        host_sending = True
        while not self._box.stopping.is_set():
            flooding = self._online and self._box.faults.flood
            readable = []
            if host_sending:
                readable, _, _ = select.select([self._sock], [], [], 0 if flooding else self._next_timeout())
                self._run_due_timers()
            if readable:
                if not self._reader.fill(self._sock):
                    # A flood goes on after the host has shut its side down, until it closes the
                    # connection (the send then fails).
                    if not flooding:
                        return
                    host_sending = False
                for message in self._reader.messages():
                    self._handle(*message)
            if flooding:
                self._flood()

    def _flood(self, stream=None):
        """One write of the largest size to the stream (by default the one the host opened last),
        without waiting for the host's acknowledgement of the one before."""
        stream = stream or self._last_stream
        local_id, remote_id = (stream.local_id, stream.remote_id) if stream else (0, 0)
        self.send(wire.A_WRTE, local_id, remote_id, _FLOOD_TEXT[:self.max_payload])

    def _trickle(self, stream):
        if stream.closed:
            return
        self.send(wire.A_WRTE, stream.local_id, stream.remote_id, _TRICKLE_BYTE)
        self._after(_TRICKLE_PERIOD, lambda: self._trickle(stream))

    def send(self, command, arg0, arg1, payload=b""):
        self._sock.sendall(wire.encode(command, arg0, arg1, payload, self._checksums))

    def forget(self, stream):
        self._streams.pop(stream.local_id, None)

    def _handle(self, command, arg0, arg1, payload):
        if self._online and self._box.faults.hang:
            return
        if command == wire.A_CNXN:
            self._on_connect(arg0, arg1)
        elif command == wire.A_AUTH:
            self._on_auth(arg0, payload)
        elif not self._online:
            log.debug("%s: %s before the handshake ignored", self.peer, wire.NAMES.get(command, hex(command)))
        elif command == wire.A_OPEN:
            self._on_open(arg0, bytes(payload).rstrip(b"\0").decode("utf-8", "replace"))
        elif command == wire.A_WRTE:
            self._on_write(arg0, arg1, payload)
        elif command == wire.A_OKAY:
            stream = self._streams.get(arg1)
            if stream:
                stream.acknowledged()
        elif command == wire.A_CLSE:
            stream = self._streams.pop(arg1, None)
            if stream:
                stream.discard()
                stream.service.host_closed()

    def _on_connect(self, version, max_payload):
        for stream in list(self._streams.values()):
            stream.discard()
            stream.service.host_closed()
        self._streams.clear()
        self._online = False
        self._checksums = min(version, wire.A_VERSION) < wire.A_VERSION_SKIP_CHECKSUM
        self.max_payload = max(wire.MAX_PAYLOAD_V1, min(max_payload, wire.MAX_PAYLOAD))
        if self._box.auth == "none":
            self._go_online()
        else:
            self._send_token()

    def _send_token(self):
        self._token = os.urandom(TOKEN_SIZE)
        self.send(wire.A_AUTH, wire.AUTH_TOKEN, 0, self._token)

    def _go_online(self):
        self._online = True
        self._token = None
        log.info("%s: online", self.peer)
        self.send(wire.A_CNXN, wire.A_VERSION, wire.MAX_PAYLOAD, self._box.profile.banner().encode("utf-8"))

    def _on_auth(self, kind, payload):
        if self._online or self._token is None:
            return
        if kind == wire.AUTH_SIGNATURE:
            if self._box.trusted_keys.signer_of(self._token, bytes(payload)):
                self._go_online()
            else:
                self._send_token()
        elif kind == wire.AUTH_RSAPUBLICKEY:
            try:
                key = parse_public_key(bytes(payload).decode("ascii", "replace"))
            except InvalidKey as error:
                log.info("%s: offered key ignored: %s", self.peer, error)
                return
            self._ask_user(key)

    def _ask_user(self, key):
        mode = self._box.auth
        log.info("%s: unknown key offered, auth mode %s", self.peer, mode)
        if mode == "trusted":
            raise _CloseConnection("unknown key refused")
        if mode == "ask-accept":
            self._after(self._box.ask_delay, lambda: self._accept(key))
        elif mode == "ask-reject":
            self._after(self._box.ask_delay, self._reject)

    def _accept(self, key):
        self._box.trusted_keys.accept(key)
        self._go_online()

    @staticmethod
    def _reject():
        raise _CloseConnection("the user rejected the key")

    def _on_open(self, remote_id, name):
        service = service_for(name, self._box)
        log.info("%s: open %r%s", self.peer, name, "" if service else " refused")
        if service is None:
            self.send(wire.A_CLSE, 0, remote_id)
            return
        stream = Stream(self, next(self._ids), remote_id, service)
        self._streams[stream.local_id] = stream
        self._last_stream = stream
        if self._box.faults.flood or self._box.faults.trickle:
            # Accepted, but answered with the flood or the trickle instead of the service's output.
            self.send(wire.A_OKAY, stream.local_id, stream.remote_id)
            if self._box.faults.trickle:
                self._trickle(stream)
        elif self._box.faults.stall_service:
            self._after(self._box.faults.stall_service, lambda: self._start(stream))
        else:
            self._start(stream)

    def _start(self, stream):
        if stream.closed:
            return
        self.send(wire.A_OKAY, stream.local_id, stream.remote_id)
        stream.service.start(stream)

    def _on_write(self, remote_id, local_id, payload):
        stream = self._streams.get(local_id)
        if stream is None:
            return
        if stream.service.receives_upload:
            for _ in range(self._box.faults.flood_upload):
                self._flood(stream)
        stream.service.receive(payload)
        if not stream.closed:
            self.send(wire.A_OKAY, stream.local_id, remote_id)

    def _after(self, delay, action):
        heapq.heappush(self._timers, (time.monotonic() + delay, next(self._timer_order), action))

    def _next_timeout(self):
        if not self._timers:
            return None
        return max(0.0, self._timers[0][0] - time.monotonic())

    def _run_due_timers(self):
        while self._timers and self._timers[0][0] <= time.monotonic():
            _, _, action = heapq.heappop(self._timers)
            action()
