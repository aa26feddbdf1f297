#!/usr/bin/python3
"""Releases for the tests of the release check, signed by tools/release-sign:

  next.exe, next.ini          the program one build on, signed with the development key
  other-key.ini               next.exe signed with another key
  flipped.exe                 next.exe with one byte changed
  tampered.ini                next.ini with the SHA-256 of flipped.exe (the signature stays next's)
  current.exe, current.ini    the program of this build, signed with the development key
  development-public.der, other-public.der

Usage: make_release_fixtures.py <out> <key-dir> <current.exe> <next.exe>"""
import hashlib
import os
import shutil
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def sign(program, key, out):
    subprocess.run([sys.executable, os.path.join(ROOT, "tools", "release-sign"), "--key", key, "--url",
                    "http://update.example/" + os.path.basename(program), "--out", out, program], check=True)


def main(out, keys, current, upcoming):
    os.makedirs(out, exist_ok=True)
    development, other = os.path.join(keys, "development.pem"), os.path.join(keys, "other.pem")
    for name, key in (("development", development), ("other", other)):
        subprocess.run(["openssl", "pkey", "-in", key, "-pubout", "-outform", "DER", "-out",
                        os.path.join(out, name + "-public.der")], check=True)
    next_exe, current_exe = os.path.join(out, "next.exe"), os.path.join(out, "current.exe")
    shutil.copyfile(upcoming, next_exe)
    shutil.copyfile(current, current_exe)
    sign(next_exe, development, os.path.join(out, "next.ini"))
    sign(next_exe, other, os.path.join(out, "other-key.ini"))
    sign(current_exe, development, os.path.join(out, "current.ini"))
    with open(next_exe, "rb") as f:
        data = bytearray(f.read())
    data[len(data) // 2] ^= 0x01
    with open(os.path.join(out, "flipped.exe"), "wb") as f:
        f.write(data)
    with open(os.path.join(out, "next.ini"), newline="") as f:
        lines = f.read().split("\r\n")
    flipped_hash = hashlib.sha256(data).hexdigest()
    lines = [f"sha256={flipped_hash}" if line.startswith("sha256=") else line for line in lines]
    with open(os.path.join(out, "tampered.ini"), "w", newline="") as f:
        f.write("\r\n".join(lines))


if __name__ == "__main__":
    main(*sys.argv[1:5])
