"""Android-format RSA public keys and the check of a host's signed token."""

import base64
import binascii
import struct

TOKEN_SIZE = 20
KEY_WORDS = 64  # 2048-bit modulus in 32-bit words
_KEY_BLOB = struct.Struct("<II256s256sI")
# DER prefix of a SHA-1 DigestInfo: the token is signed as if it were already a SHA-1 digest.
_SHA1_DIGEST_INFO = bytes.fromhex("3021300906052b0e03021a05000414")


class InvalidKey(ValueError):
    """Text that is not an Android public key."""


class PublicKey:
    def __init__(self, modulus, exponent, text):
        self.modulus = modulus
        self.exponent = exponent
        self.text = text  # base64 blob, the identity under which the box remembers the key

    def __eq__(self, other):
        return isinstance(other, PublicKey) and (self.modulus, self.exponent) == (other.modulus, other.exponent)

    def __hash__(self):
        return hash((self.modulus, self.exponent))

    def verifies(self, token, signature):
        """True when signature is this key's PKCS#1 v1.5 signature of token as a SHA-1 digest."""
        size = (self.modulus.bit_length() + 7) // 8
        if len(signature) != size:
            return False
        value = int.from_bytes(signature, "big")
        if value >= self.modulus:
            return False
        decoded = pow(value, self.exponent, self.modulus).to_bytes(size, "big")
        return decoded == _padded_digest(bytes(token), size)


def _padded_digest(token, size):
    digest_info = _SHA1_DIGEST_INFO + token
    return b"\x00\x01" + b"\xff" * (size - 3 - len(digest_info)) + b"\x00" + digest_info


def parse_public_key(text):
    """Reads 'base64blob [user@host]' as adbkey.pub holds it and RSAPUBLICKEY carries it."""
    fields = text.strip().rstrip("\0").split()
    if not fields:
        raise InvalidKey("empty key")
    try:
        blob = base64.b64decode(fields[0], validate=True)
    except binascii.Error as error:
        raise InvalidKey(f"key is not base64: {error}") from None
    if len(blob) != _KEY_BLOB.size:
        raise InvalidKey(f"key blob has {len(blob)} bytes, expected {_KEY_BLOB.size}")
    words, n0inv, modulus_le, _rr, exponent = _KEY_BLOB.unpack(blob)
    if words != KEY_WORDS:
        raise InvalidKey(f"key has {words} words, expected {KEY_WORDS}")
    modulus = int.from_bytes(modulus_le, "little")
    if modulus % 2 == 0 or (n0inv * modulus + 1) % 2**32 != 0:
        raise InvalidKey("key's n0inv does not belong to its modulus")
    return PublicKey(modulus, exponent, fields[0])


def read_key_file(path):
    """All keys of a file with one key per line (adbkey.pub, adb_keys); unreadable lines are skipped."""
    keys = []
    with open(path, encoding="ascii", errors="replace") as lines:
        for line in lines:
            if line.strip():
                try:
                    keys.append(parse_public_key(line))
                except InvalidKey:
                    continue
    return keys

