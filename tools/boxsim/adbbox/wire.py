"""The transport's message format: 24-byte little-endian headers and their payloads."""

import struct

A_CNXN = 0x4E584E43
A_AUTH = 0x48545541
A_OPEN = 0x4E45504F
A_OKAY = 0x59414B4F
A_CLSE = 0x45534C43
A_WRTE = 0x45545257
A_SYNC = 0x434E5953
A_STLS = 0x534C5453

A_VERSION_MIN = 0x01000000
# From this version on, either side may leave the payload checksum at zero.
A_VERSION_SKIP_CHECKSUM = 0x01000001
A_VERSION = 0x01000001

# CNXN and AUTH must fit in the smallest payload any peer accepts.
MAX_PAYLOAD_V1 = 4096
# What the box offers in its CNXN: large enough that a 100 MB push needs only ~100 round trips.
MAX_PAYLOAD = 1024 * 1024

AUTH_TOKEN = 1
AUTH_SIGNATURE = 2
AUTH_RSAPUBLICKEY = 3

HEADER = struct.Struct("<6I")
HEADER_SIZE = HEADER.size

NAMES = {A_CNXN: "CNXN", A_AUTH: "AUTH", A_OPEN: "OPEN", A_OKAY: "OKAY",
         A_CLSE: "CLSE", A_WRTE: "WRTE", A_SYNC: "SYNC", A_STLS: "STLS"}


class ProtocolError(Exception):
    """The peer sent something that is not a transport message."""


def encode(command, arg0, arg1, payload=b"", with_checksum=True):
    check = sum(payload) & 0xFFFFFFFF if with_checksum else 0
    header = HEADER.pack(command, arg0, arg1, len(payload), check, command ^ 0xFFFFFFFF)
    return header + bytes(payload)


class PacketReader:
    """Collects bytes from a socket and cuts them into messages without copying payloads.

    The payload views handed out point into one reusable buffer: they are valid only until the
    next call to fill().
    """

    def __init__(self, payload_limit):
        self._limit = payload_limit
        self._buffer = bytearray(HEADER_SIZE + payload_limit)
        self._view = memoryview(self._buffer)
        self._start = 0
        self._end = 0

    def fill(self, sock):
        """Reads what the socket has; returns False when the peer has closed."""
        if self._start:
            pending = self._end - self._start
            self._buffer[:pending] = self._buffer[self._start:self._end]
            self._start, self._end = 0, pending
        received = sock.recv_into(self._view[self._end:])
        self._end += received
        return received > 0

    def messages(self):
        """Yields (command, arg0, arg1, payload view) for every complete message buffered."""
        while self._end - self._start >= HEADER_SIZE:
            command, arg0, arg1, length, _check, magic = HEADER.unpack_from(self._buffer, self._start)
            if magic != command ^ 0xFFFFFFFF:
                raise ProtocolError(f"bad magic in message 0x{command:08x}")
            if length > self._limit:
                raise ProtocolError(f"payload of {length} bytes exceeds {self._limit}")
            begin = self._start + HEADER_SIZE
            if self._end - begin < length:
                return
            self._start = begin + length
            yield command, arg0, arg1, self._view[begin:begin + length]
