"""The keys a box lets in: those it was given, and those its user accepted (kept in adb_keys)."""

import threading

from .auth import read_key_file


class TrustedKeys:
    def __init__(self, key_files, accepted_file):
        self._accepted_file = accepted_file
        self._lock = threading.Lock()
        self._keys = []
        for path in list(key_files) + ([accepted_file] if accepted_file.exists() else []):
            for key in read_key_file(path):
                if key not in self._keys:
                    self._keys.append(key)

    def signer_of(self, token, signature):
        """The trusted key that made signature over token, or None."""
        with self._lock:
            keys = list(self._keys)
        return next((key for key in keys if key.verifies(token, signature)), None)

    def accept(self, key):
        """Trusts key from now on, also for later runs of the box on the same storage."""
        with self._lock:
            if key in self._keys:
                return
            self._keys.append(key)
            with open(self._accepted_file, "a", encoding="ascii") as store:
                store.write(key.text + "\n")
