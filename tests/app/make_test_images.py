#!/usr/bin/python3
"""Writes tool images for the extraction tests, and an .rc that embeds them as type FILE."""
import os
import struct
import sys
import zlib

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
payload = b"MZ fake adb client " * 2000
stream = zlib.compress(payload, 9)
images = {
    30001: struct.pack("<I", len(payload)) + stream,                     # good
    30002: struct.pack("<I", len(payload) + 1) + stream,                 # size field too large
    30003: struct.pack("<I", len(payload)) + stream[:len(stream) // 2],  # truncated stream
    30004: struct.pack("<I", len(payload)) + bytes(b ^ 0x5A for b in stream),  # corrupt stream
    30005: struct.pack("<I", 0xFFFFFFF0) + stream,                       # claims ~4 GB
}
with open(os.path.join(out, "payload.bin"), "wb") as f:
    f.write(payload)
lines = []
for rid, data in images.items():
    name = os.path.join(out, f"image{rid}.zlib")
    with open(name, "wb") as f:
        f.write(data)
    lines.append(f'{rid} FILE "{name}"')
with open(os.path.join(out, "images.rc"), "w") as f:
    f.write("\n".join(lines) + "\n")
