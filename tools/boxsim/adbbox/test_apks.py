"""Makes APK files for tests: real zips with a binary manifest, optionally padded to a given size."""

import hashlib
import io
import random
import zipfile

from . import axml_writer

MANIFEST = "AndroidManifest.xml"
PADDING = "assets/padding.bin"
CERTIFICATE = "META-INF/CERT.RSA"
_ELF_STUB = b"\x7fELF\x01\x01\x01" + b"\0" * 9  # the start of a 32-bit little-endian ELF file
_CHUNK = 1024 * 1024


def write_apk(path, package, min_sdk=1, size=0, version_code=1, seed=0, version_name="1.0", label=None,
              launcher=(), split=None, signer=None, abis=(), permissions=(), libraries=()):
    """Writes an APK of exactly size bytes (or as small as it can be when size is smaller).

    The padding is incompressible random data stored as it is, so that the file is as big on the
    wire as on disk, and it is written in chunks so that a 100 MB file takes well under a second.
    label and launcher: the app's literal label and its main activity's launcher categories;
    split: the name of a split APK ("config.armeabi_v7a") instead of a base APK; signer: a name
    that stands for the key the APK is signed with (None: unsigned); abis: the processors its
    native library is built for; permissions: the permissions it defines; libraries: the system's
    shared libraries it requires.
    """
    manifest = axml_writer.manifest(package, min_sdk, version_code=version_code, version_name=version_name,
                                    label=label, launcher=launcher, split=split, permissions=permissions,
                                    libraries=libraries)
    entries = [(MANIFEST, manifest)] + [(f"lib/{abi}/libnative.so", _ELF_STUB + abi.encode()) for abi in abis]
    if signer is not None:
        entries.append((CERTIFICATE, stand_in_certificate(signer)))
    padding = max(0, size - _overhead(entries)) if size else 0
    generator = random.Random(seed)
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in entries:
            archive.writestr(name, data, compress_type=zipfile.ZIP_DEFLATED)
        if padding:
            info = zipfile.ZipInfo(PADDING, date_time=(2020, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_STORED
            info.file_size = padding
            with archive.open(info, "w", force_zip64=padding > 0x7FFFFFFF) as entry:
                for offset in range(0, padding, _CHUNK):
                    entry.write(generator.randbytes(min(_CHUNK, padding - offset)))


def stand_in_certificate(signer):
    """What stands for the certificate of the key named signer: boxes of the simulator tell signers
    apart by these bytes, as real ones do by the certificate."""
    return b"0\x82" + hashlib.sha256(signer.encode("utf-8")).digest() + signer.encode("utf-8")


def _overhead(entries):
    """Size of the archive around a padding entry: everything except the padding's own bytes."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name, data in entries:
            archive.writestr(name, data, compress_type=zipfile.ZIP_DEFLATED)
        info = zipfile.ZipInfo(PADDING, date_time=(2020, 1, 1, 0, 0, 0))
        archive.writestr(info, b"", compress_type=zipfile.ZIP_STORED)
    return len(buffer.getvalue())


def write_truncated_apk(path, package, min_sdk=1):
    """An APK cut in half, as an interrupted download leaves it: its zip directory is gone."""
    write_apk(path, package, min_sdk)
    with open(path, "r+b") as apk:
        apk.truncate(len(apk.read()) // 2)


def write_non_apk(path):
    with open(path, "w", encoding="ascii") as text:
        text.write("This file was renamed to .apk but is a plain text note, not an Android package.\n")
