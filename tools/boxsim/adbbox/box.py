"""A simulated TV box: listens on one address and serves each host connection on its own thread."""

import logging
import select
import socket
import struct
import threading

from .apps import provide_system_apps
from .connection import AUTH_MODES, Connection
from .faults import Faults
from .package_manager import PackageManager
from .profiles import PROFILES
from .shell import Shell
from .storage import Storage
from .trust import TrustedKeys

log = logging.getLogger("boxsim")
_ACCEPT_POLL = 0.2


class Box:
    """A box's debug daemon. Use as a context manager, or call start() and stop().

    profile: a key of PROFILES; storage: the box's folder (created when missing); auth: one of
    AUTH_MODES; trust_keys: files of public keys the box trusts from the start; faults: a Faults;
    capacity: bytes available to installed packages (the profile's when None); ask_delay: seconds
    the box's user takes to answer the authorisation question.
    """

    def __init__(self, address, storage, port=5555, profile="generic", auth="none", trust_keys=(),
                 faults=Faults(), capacity=None, ask_delay=1.0):
        if profile not in PROFILES:
            raise ValueError(f"unknown profile {profile!r}; known: {', '.join(PROFILES)}")
        if auth not in AUTH_MODES:
            raise ValueError(f"unknown auth mode {auth!r}; known: {', '.join(AUTH_MODES)}")
        self.address = address
        self.port = port
        self.profile = PROFILES[profile]
        self.auth = auth
        self.faults = faults
        self.ask_delay = ask_delay
        self.storage = Storage(storage)
        provide_system_apps(self.storage)
        self.trusted_keys = TrustedKeys(trust_keys, self.storage.accepted_keys_file)
        self.packages = PackageManager(self.profile, self.storage,
                                       self.profile.capacity if capacity is None else capacity, faults)
        self.shell = Shell(self.profile, self.storage, self.packages)
        self.stopping = threading.Event()
        self._listener = None
        self._threads = []
        self._sockets = set()
        self._lock = threading.Lock()

    def start(self):
        """Starts listening (unless the box plays a closed port); afterwards self.port is the real port."""
        if not self.faults.refuse:
            self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            self._listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            self._listener.bind((self.address, self.port))
            self._listener.listen(16)
            self.port = self._listener.getsockname()[1]
            self._spawn(self._accept_loop)
        return self

    def stop(self):
        self.stopping.set()
        self._end_connections()
        for thread in list(self._threads):
            thread.join(timeout=5)
        if self._listener:
            self._listener.close()

    def revoke(self):
        """The box's user revokes the debugging authorisations of every computer: the keys they
        accepted are forgotten, the daemon restarts (every connection ends), and the user turns
        down the questions that follow."""
        self.trusted_keys.revoke()
        self.auth = "ask-reject"
        self._end_connections()

    def _end_connections(self):
        with self._lock:
            for sock in self._sockets:
                try:
                    sock.shutdown(socket.SHUT_RDWR)
                except OSError:
                    pass

    def __enter__(self):
        return self.start()

    def __exit__(self, *_exception):
        self.stop()

    def _spawn(self, target, *arguments):
        thread = threading.Thread(target=target, args=arguments, daemon=True)
        self._threads.append(thread)
        thread.start()

    def _accept_loop(self):
        while not self.stopping.is_set():
            ready, _, _ = select.select([self._listener], [], [], _ACCEPT_POLL)
            if not ready:
                continue
            try:
                sock, peer = self._listener.accept()
            except OSError as error:  # the host gave up between the knock and the accept
                log.info("%s:%d: accept: %s", self.address, self.port, error)
                continue
            log.info("%s:%d: connection from %s:%d", self.address, self.port, *peer[:2])
            if self.faults.reset:
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                sock.close()
            elif self.faults.close:
                sock.close()
            else:
                sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
                self._spawn(self._serve, sock)

    def _serve(self, sock):
        with self._lock:
            self._sockets.add(sock)
        try:
            Connection(sock, self).serve()
        except OSError as error:  # the host left before the connection could even be looked at
            log.info("%s:%d: %s", self.address, self.port, error)
            sock.close()
        finally:
            with self._lock:
                self._sockets.discard(sock)
