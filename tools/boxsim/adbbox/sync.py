"""The sync service: file transfer requests (STAT, LIST, SEND, RECV, QUIT) over one stream."""

import os
import stat
import struct

from .faults import DropConnection
from .storage import DeviceFileError
from .streams import Service

_REQUEST = struct.Struct("<4sI")
_STAT = struct.Struct("<4sIII")
_DENT = struct.Struct("<4sIIII")
MAX_PATH = 1024
MAX_DATA = 64 * 1024
_PATH_REQUESTS = (b"STAT", b"LIST", b"SEND", b"RECV")


def _too_long(request, length):
    """Refused before its bytes arrive, so that a bogus length cannot make the box hoard memory."""
    return (request in _PATH_REQUESTS and length > MAX_PATH) or (request == b"DATA" and length > MAX_DATA)


class SyncService(Service):
    receives_upload = True

    def __init__(self, storage, faults):
        self._storage = storage
        self._faults = faults
        self._buffer = bytearray()
        self._upload = None  # (host path, open file, bytes so far) while a SEND is in progress
        self._done = False

    def receive(self, data):
        if self._done:
            return
        self._buffer += data
        while not self._done and len(self._buffer) >= _REQUEST.size:
            request, length = _REQUEST.unpack_from(self._buffer)
            if _too_long(request, length):
                return self._fail(f"{request.decode('ascii', 'replace')} request of {length} bytes is too long")
            carries_payload = request in _PATH_REQUESTS or request == b"DATA"
            if carries_payload and len(self._buffer) < _REQUEST.size + length:
                return
            payload = bytes(self._buffer[_REQUEST.size:_REQUEST.size + length]) if carries_payload else b""
            del self._buffer[:_REQUEST.size + len(payload)]
            self._handle(request, length, payload)

    def host_closed(self):
        self._abandon_upload()
        self._done = True

    def _handle(self, request, length, payload):
        if request == b"STAT":
            return self.stream.write(self._stat(payload.decode("utf-8", "replace")))
        if request == b"LIST":
            return self.stream.write(self._list(payload.decode("utf-8", "replace")))
        if request == b"SEND":
            return self._begin_upload(payload.decode("utf-8", "replace"))
        if request == b"DATA" and self._upload:
            return self._upload_data(payload)
        if request == b"DONE" and self._upload:
            return self._end_upload(mtime=length)
        if request == b"RECV":
            return self._send_file(payload.decode("utf-8", "replace"))
        if request == b"QUIT":
            self._done = True
            return self.stream.close()
        return self._fail(f"unknown request {request!r}")

    def _stat(self, device_path):
        try:
            info = os.stat(self._storage.host_path(device_path))
        except OSError:
            return _STAT.pack(b"STAT", 0, 0, 0)
        return _STAT.pack(b"STAT", info.st_mode & 0xFFFFFFFF, info.st_size & 0xFFFFFFFF, int(info.st_mtime))

    def _list(self, device_path):
        entries = []
        try:
            folder = self._storage.host_path(device_path)
        except DeviceFileError:
            folder = None
        if folder and folder.is_dir():
            for entry in sorted(folder.iterdir()):
                info = entry.stat()
                name = entry.name.encode("utf-8")
                entries.append(_DENT.pack(b"DENT", info.st_mode & 0xFFFFFFFF, info.st_size & 0xFFFFFFFF,
                                          int(info.st_mtime), len(name)) + name)
        return b"".join(entries) + _DENT.pack(b"DONE", 0, 0, 0, 0)

    def _begin_upload(self, target):
        device_path, comma, mode_text = target.rpartition(",")
        if not comma:
            device_path, mode_text = target, "33188"
        try:
            path = self._storage.writable_path(device_path)
        except DeviceFileError as error:
            return self._fail(f"couldn't create file: {str(error).rpartition(': ')[2]}")
        try:
            path.parent.mkdir(parents=True, exist_ok=True)
            # A new file, never the old one rewritten: an installed APK may share the old one's blocks.
            path.unlink(missing_ok=True)
            out = open(path, "wb")
        except OSError as error:
            return self._fail(f"couldn't create file: {error.strerror}")
        mode = int(mode_text) if mode_text.isdigit() else 0o644
        self._upload = (path, out, 0)
        os.chmod(path, stat.S_IMODE(mode) or 0o644)

    def _upload_data(self, payload):
        path, out, written = self._upload
        try:
            self._faults.check_transfer(written + len(payload))
        except DropConnection:
            self._abandon_upload()
            raise
        out.write(payload)
        self._upload = (path, out, written + len(payload))

    def _end_upload(self, mtime):
        path, out, _written = self._upload
        out.close()
        self._upload = None
        os.utime(path, (mtime, mtime))
        self.stream.write(_REQUEST.pack(b"OKAY", 0))

    def _send_file(self, device_path):
        try:
            host_path = self._storage.host_path(device_path)
            source = open(host_path, "rb")
        except OSError as error:
            return self._fail(f"open failed: {error.strerror}")
        if host_path.is_dir():
            source.close()
            return self._fail("open failed: Is a directory")
        self.stream.write_from(self._file_records(source))

    def _file_records(self, source):
        """The file as DATA records and a DONE, in pieces of the connection's largest payload; a
        drop fault cuts the connection once that many bytes of the file have gone out."""
        pending, sent = bytearray(), 0
        with source:
            while True:
                data = source.read(MAX_DATA)
                if data:
                    self._faults.check_transfer(sent + len(data))
                    sent += len(data)
                    pending += _REQUEST.pack(b"DATA", len(data)) + data
                else:
                    pending += _REQUEST.pack(b"DONE", 0)
                limit = self.stream.max_payload
                while len(pending) >= limit or (not data and pending):
                    yield bytes(pending[:limit])
                    del pending[:limit]
                if not data:
                    return

    def _fail(self, message):
        """Answers FAIL and ends the session, as the box's sync service does on any error."""
        self._abandon_upload()
        encoded = message.encode("utf-8")
        self.stream.write(_REQUEST.pack(b"FAIL", len(encoded)) + encoded)
        self.stream.close()
        self._done = True

    def _abandon_upload(self):
        if self._upload:
            path, out, _written = self._upload
            out.close()
            path.unlink(missing_ok=True)
            self._upload = None
