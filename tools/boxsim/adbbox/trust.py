"""The keys a box lets in: those it was given, and those its user accepted (kept in adb_keys) until
the user revokes them."""

import threading

from .auth import read_key_file


class TrustedKeys:
    def __init__(self, key_files, accepted_file):
        self._accepted_file = accepted_file
        self._lock = threading.Lock()
        self._given = [key for path in key_files for key in read_key_file(path)]
        self._accepted = read_key_file(accepted_file) if accepted_file.exists() else []

    def signer_of(self, token, signature):
        """The trusted key that made signature over token, or None."""
        with self._lock:
            keys = self._given + self._accepted
        return next((key for key in keys if key.verifies(token, signature)), None)

    def accept(self, key):
        """Trusts key from now on, also for later runs of the box on the same storage."""
        with self._lock:
            if key in self._given or key in self._accepted:
                return
            self._accepted.append(key)
            with open(self._accepted_file, "a", encoding="ascii") as store:
                store.write(key.text + "\n")

    def revoke(self):
        """Forgets every key the user accepted, as the box's "revoke debugging authorisations" does;
        the keys it was given stay."""
        with self._lock:
            self._accepted = []
            self._accepted_file.unlink(missing_ok=True)
