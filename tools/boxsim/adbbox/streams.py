"""One service stream of a connection, with the transport's flow control: a single WRTE in flight."""

from collections import deque

from . import wire


class Service:
    """What runs behind a stream. The connection calls these; a service answers through its stream."""

    # Whether the host sends it a file (a push or a streamed install).
    receives_upload = False

    def start(self, stream):
        self.stream = stream

    def receive(self, data):
        """Bytes the host wrote (a view, valid only during the call)."""

    def host_closed(self):
        """The host closed the stream; nothing more will be written to it."""


class Stream:
    def __init__(self, connection, local_id, remote_id, service):
        self.local_id = local_id
        self.remote_id = remote_id
        self.service = service
        self.closed = False
        self._connection = connection
        self._pending = deque()
        self._source = None
        self._in_flight = False
        self._closing = False

    @property
    def max_payload(self):
        return self._connection.max_payload

    def write(self, data):
        limit = self._connection.max_payload
        for offset in range(0, len(data), limit):
            self._pending.append(bytes(data[offset:offset + limit]))
        self._pump()

    def write_from(self, source):
        """Sends what an iterator of byte strings yields, drawing the next one only when everything
        before it has been acknowledged: a large file is never held in memory whole."""
        self._source = iter(source)
        self._pump()

    def close(self):
        """Closes the stream once everything written so far has been acknowledged."""
        self._closing = True
        self._pump()

    def acknowledged(self):
        self._in_flight = False
        self._pump()

    def discard(self):
        """The host closed the stream: forget what was still to be sent."""
        self.closed = True
        self._pending.clear()
        self._end_source()

    def _end_source(self):
        if self._source is not None:
            source, self._source = self._source, None
            close = getattr(source, "close", None)
            if close:
                close()

    def _pump(self):
        if self.closed or self._in_flight:
            return
        while not self._pending and self._source is not None:
            piece = next(self._source, None)
            if piece is None:
                self._source = None
            elif piece:
                self.write(piece)
                return
        if self._pending:
            self._in_flight = True
            self._connection.send(wire.A_WRTE, self.local_id, self.remote_id, self._pending.popleft())
        elif self._closing:
            self.closed = True
            self._connection.send(wire.A_CLSE, self.local_id, self.remote_id)
            self._connection.forget(self)
