#!/usr/bin/python3
"""Checks the program file a Windows tree built, without running it: so that the 32-bit program
users get is checked even on machines that cannot run 32-bit code. The file is the architecture
its tree was built for, a GUI program that needs no DLL beyond those every Windows has, with the
version the build set, and it carries the client it was built with as tool image 20001, byte for
byte. Our own client (the default build's adb.exe) is checked alike as a console program.

Usage: program_file_test.py <build-dir> <version> <client that 20001 must hold> [ours]
"""
import hashlib
import os
import struct
import sys
import unittest
import zlib

import pefile

BUILD = VERSION = CLIENT = None
OWN_CLIENT = False

# (machine, optional-header magic) of each tree's architecture, as tools/wine/wine names them.
ARCHES = {"x86": (0x14C, 0x10B), "x64": (0x8664, 0x20B)}
GUI, CONSOLE = 2, 3
# What every Windows from 7 on has: a DLL outside this list would have to ship beside the program.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "gdi32.dll", "gdiplus.dll",
    "iphlpapi.dll", "kernel32.dll", "msimg32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll",
    "shell32.dll", "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll", "wininet.dll",
    "winmm.dll", "ws2_32.dll", "bcrypt.dll", "ntdll.dll", "secur32.dll", "userenv.dll"}
TOOL_TYPE, CLIENT_TOOL = "FILE", 20001


def tree_arch():
    with open(os.path.join(BUILD, "wine-arch")) as f:
        return f.read().strip()


def load(name):
    return pefile.PE(os.path.join(BUILD, name))


def imported_dlls(image):
    return {entry.dll.decode("ascii").lower() for entry in getattr(image, "DIRECTORY_ENTRY_IMPORT", [])}


def resource(image, type_name, number):
    for kind in image.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.name is not None and str(kind.name) == type_name:
            for entry in kind.directory.entries:
                if entry.id == number:
                    data = entry.directory.entries[0].data.struct
                    return image.get_data(data.OffsetToData, data.Size)
    return None


def unpack_tool(image_bytes):
    """A tool image: the file's size (32-bit, little-endian), then its zlib stream."""
    (size,) = struct.unpack_from("<I", image_bytes)
    data = zlib.decompress(image_bytes[4:])
    if len(data) != size:
        raise AssertionError(f"tool image says {size} bytes but holds {len(data)}")
    return data


class ProgramFile(unittest.TestCase):
    def check_kind(self, image, subsystem):
        machine, magic = ARCHES[tree_arch()]
        self.assertEqual(hex(image.FILE_HEADER.Machine), hex(machine))
        self.assertEqual(hex(image.OPTIONAL_HEADER.Magic), hex(magic))
        self.assertEqual(image.OPTIONAL_HEADER.Subsystem, subsystem)
        self.assertLessEqual(imported_dlls(image), SYSTEM_DLLS,
                             "needs DLLs that Windows does not have: the link is not static")

    def test_program_is_a_static_gui_program_of_its_architecture(self):
        self.check_kind(load("MivoraBoxAssistant.exe"), GUI)

    def test_program_carries_the_client_as_tool_20001(self):
        packed = resource(load("MivoraBoxAssistant.exe"), TOOL_TYPE, CLIENT_TOOL)
        self.assertIsNotNone(packed, "no FILE resource 20001")
        with open(CLIENT, "rb") as f:
            expected = hashlib.sha256(f.read()).hexdigest()
        self.assertEqual(hashlib.sha256(unpack_tool(packed)).hexdigest(), expected,
                         f"tool 20001 is not {CLIENT}")

    def test_program_says_its_version(self):
        image = load("MivoraBoxAssistant.exe")
        fixed = image.VS_FIXEDFILEINFO[0]
        parts = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                 fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
        self.assertEqual(".".join(map(str, parts)), VERSION)

    def test_own_client_is_a_static_console_program_of_its_architecture(self):
        if not OWN_CLIENT:
            self.skipTest("this tree embeds Google's platform-tools")
        self.check_kind(load("adb.exe"), CONSOLE)


if __name__ == "__main__":
    BUILD, VERSION, CLIENT = sys.argv[1:4]
    OWN_CLIENT = sys.argv[4:5] == ["ours"]
    unittest.main(argv=sys.argv[:1], verbosity=2)
