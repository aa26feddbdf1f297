"""The box's check of a host's signed token, against keys and signatures made by OpenSSL and adb."""

import base64
import os
import struct
import subprocess
import unittest

from boxsim_support import TempDirTest
from adbbox.auth import InvalidKey, parse_public_key, read_key_file
from adbbox.trust import TrustedKeys


class SignatureTest(TempDirTest):
    def make_key(self, name):
        """A private key in PEM, as adb keeps it, and its Android public key as `adb pubkey` prints it."""
        private = self.temp / name
        subprocess.run(["openssl", "genrsa", "-out", str(private), "2048"], check=True, capture_output=True)
        public = subprocess.run([self.tool("adb"), "pubkey", str(private)], check=True, capture_output=True,
                                text=True).stdout
        return private, public

    def sign(self, private, token):
        """What adb sends: RSA_sign(NID_sha1, token), the token standing for a SHA-1 digest."""
        return subprocess.run(["openssl", "pkeyutl", "-sign", "-inkey", str(private), "-pkeyopt", "digest:sha1"],
                              input=token, check=True, capture_output=True).stdout

    def setUp(self):
        super().setUp()
        self.private, self.public_text = self.make_key("adbkey")
        self.key = parse_public_key(self.public_text)
        self.token = os.urandom(20)

    def test_key_matches_what_openssl_says_of_the_private_key(self):
        modulus = subprocess.run(["openssl", "rsa", "-in", str(self.private), "-noout", "-modulus"], check=True,
                                 capture_output=True, text=True).stdout.strip().partition("=")[2]
        self.assertEqual(self.key.modulus, int(modulus, 16))
        self.assertEqual(self.key.exponent, 65537)

    def test_only_the_right_signature_of_the_right_token_passes(self):
        signature = self.sign(self.private, self.token)
        self.assertTrue(self.key.verifies(self.token, signature))
        self.assertFalse(self.key.verifies(os.urandom(20), signature))
        flipped = bytearray(signature)
        flipped[100] ^= 1
        self.assertFalse(self.key.verifies(self.token, bytes(flipped)))
        self.assertFalse(self.key.verifies(self.token, signature[1:]))
        other_private, _ = self.make_key("other")
        self.assertFalse(self.key.verifies(self.token, self.sign(other_private, self.token)))

    def test_signature_over_a_real_sha1_digest_is_not_a_token_signature(self):
        # Signing the token's own SHA-1 (what a careless host does) must not pass.
        sha1_signature = subprocess.run(["openssl", "dgst", "-sha1", "-sign", str(self.private)],
                                        input=self.token, check=True, capture_output=True).stdout
        self.assertFalse(self.key.verifies(self.token, sha1_signature))

    def test_malformed_keys_are_refused(self):
        blob = bytearray(base64.b64decode(self.public_text.split()[0]))
        wrong_n0inv = bytearray(blob)
        struct.pack_into("<I", wrong_n0inv, 4, struct.unpack_from("<I", blob, 4)[0] ^ 0x10)
        wrong_words = bytearray(blob)
        struct.pack_into("<I", wrong_words, 0, 32)
        for name, text in (("not base64", "@@@@ user@host"), ("empty", "  "),
                           ("short", base64.b64encode(bytes(blob[:300])).decode()),
                           ("wrong n0inv", base64.b64encode(bytes(wrong_n0inv)).decode()),
                           ("wrong size", base64.b64encode(bytes(wrong_words)).decode())):
            with self.subTest(name), self.assertRaises(InvalidKey):
                parse_public_key(text)

    def test_key_files_skip_bad_lines_and_accepted_keys_survive_a_restart(self):
        _, second_text = self.make_key("second")
        key_file = self.temp / "adbkey.pub"
        key_file.write_text(self.public_text + "garbage line\n")
        self.assertEqual(read_key_file(key_file), [self.key])

        accepted = self.temp / "adb_keys"
        second_private = self.temp / "second"
        token = os.urandom(20)
        keys = TrustedKeys([key_file], accepted)
        self.assertEqual(keys.signer_of(token, self.sign(self.private, token)), self.key)
        self.assertIsNone(keys.signer_of(token, self.sign(second_private, token)))
        keys.accept(parse_public_key(second_text))
        keys.accept(parse_public_key(second_text))
        self.assertEqual(len(accepted.read_text().splitlines()), 1)

        restarted = TrustedKeys([], accepted)
        self.assertIsNotNone(restarted.signer_of(token, self.sign(second_private, token)))
        self.assertIsNone(restarted.signer_of(token, self.sign(self.private, token)))


if __name__ == "__main__":
    unittest.main(verbosity=2)
