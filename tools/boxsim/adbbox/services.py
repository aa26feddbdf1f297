"""The services a host can open on a box: shell, exec and sync."""

import itertools
import logging
import shlex
import struct

from .faults import DropConnection
from .shell import install_size, parse_install_options
from .streams import Service
from .sync import SyncService

SHELL_V2_STDOUT = 1
SHELL_V2_EXIT = 3
_temporary_numbers = itertools.count(1)
log = logging.getLogger("boxsim")


def service_for(name, box):
    """The service a request such as "shell:getprop" or "exec:cmd package install -S 10" opens,
    or None when the box has no such service (the stream is then refused)."""
    kind, separator, command = name.partition(":")
    if not separator:
        return None
    if kind == "sync" and not command:
        return SyncService(box.storage, box.faults)
    options = kind.split(",")
    if options[0] == "shell":
        v2 = "v2" in options
        if v2 and "shell_v2" not in box.profile.features:
            return None
        # Boxes before Android 7 run every command on a pty; later ones only when asked to.
        pty = "pty" in options or ("raw" not in options and box.profile.uses_pty)
        return CommandService(box, command, shell_v2=v2, pty=pty)
    if kind == "exec":
        return _exec_service(box, command)
    return None


def _exec_service(box, command):
    try:
        words = shlex.split(command)
    except ValueError:
        words = []
    if box.profile.has_cmd and words[:3] == ["cmd", "package", "install"]:
        size = install_size(words[3:])
        if size is not None:
            return StreamedInstall(box, size, parse_install_options(words[3:]))
    return CommandService(box, command, shell_v2=False, pty=False)


class CommandService(Service):
    """Runs one command line and sends its output, framed when the host asked for shell protocol v2."""

    def __init__(self, box, command, shell_v2, pty):
        self._box = box
        self._command = command
        self._shell_v2 = shell_v2
        self._pty = pty

    def start(self, stream):
        super().start(stream)
        output, status = self._box.shell.run(self._command)
        if self._pty:
            output = output.replace("\n", "\r\n")
        data = output.encode("utf-8")
        if self._shell_v2:
            data = (_shell_v2_packet(SHELL_V2_STDOUT, data) if data else b"") + \
                _shell_v2_packet(SHELL_V2_EXIT, bytes([status & 0xFF]))
        if data:
            stream.write(data)
        stream.close()


def _shell_v2_packet(packet_id, data):
    return struct.pack("<BI", packet_id, len(data)) + data


class StreamedInstall(Service):
    """cmd package install -S <size>: the APK's bytes come over the stream, then pm's verdict goes back."""

    receives_upload = True

    def __init__(self, box, size, options):
        self._box = box
        self._size = size
        self._options = options
        self._received = 0
        self._path = box.storage.host_path(f"/data/app/vmdl{next(_temporary_numbers)}.tmp")
        self._file = None

    def start(self, stream):
        super().start(stream)
        self._file = open(self._path, "wb")
        if self._size == 0:
            self._finish()

    def receive(self, data):
        if self._file is None:
            return
        wanted = data[:self._size - self._received]
        try:
            self._box.faults.check_transfer(self._received + len(wanted))
        except DropConnection:
            self._discard()
            raise
        self._file.write(wanted)
        self._received += len(wanted)
        if self._received == self._size:
            self._finish()

    def host_closed(self):
        self._discard()

    def _finish(self):
        self._file.close()
        self._file = None
        log.info("streamed install: %d bytes received", self._size)
        verdict = self._box.packages.install(self._path, replace=self._options.replace,
                                             downgrade=self._options.downgrade, adopt=True)
        log.info("streamed install: %s", verdict)
        self._path.unlink(missing_ok=True)
        self.stream.write(verdict.encode("ascii") + b"\n")
        self.stream.close()

    def _discard(self):
        if self._file is not None:
            self._file.close()
            self._file = None
            self._path.unlink(missing_ok=True)
