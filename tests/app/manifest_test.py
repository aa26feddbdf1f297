#!/usr/bin/python3
"""The manifests the program and its ADB client carry, read from the built files' resources: run
as the user who starts them, on Windows 7 to 11, no DPI awareness claimed, and for the program the
system's look of the standard controls (common controls 6). Reads files only, so it checks a 32-bit
tree as well as a 64-bit one."""
import os
import struct
import unittest
import xml.etree.ElementTree as ET

BUILD = os.environ.get("MIVORA_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "windows"))
RT_MANIFEST, PROCESS_MANIFEST = 24, 1
WINDOWS_7_TO_11 = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                   "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}


def resource(path, kind, number):
    """The bytes of resource kind/number (first language) of a PE file, or None."""
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", path
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    root_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = [struct.unpack_from("<8xII4xI", data, optional + optional_size + 40 * i) for i in range(sections)]

    def offset(rva):
        for size, address, raw in table:
            if address <= rva < address + max(size, 1):
                return rva - address + raw
        raise ValueError(hex(rva))

    root = offset(root_rva)

    def entries(at):
        named, numbered = struct.unpack_from("<12xHH", data, at)
        for i in range(named + numbered):
            yield struct.unpack_from("<II", data, at + 16 + 8 * i)

    def child(at, wanted):
        for name, target in entries(at):
            if wanted is None or name == wanted:
                return target
        return None

    level = root
    for wanted in (kind, number, None):
        target = child(level, wanted)
        if target is None:
            return None
        level = root + (target & 0x7FFFFFFF)
    rva, size = struct.unpack_from("<II", data, level)
    return data[offset(rva):offset(rva) + size]


def trees():
    """This tree, and the other architecture's beside it when it is built."""
    here = os.path.abspath(BUILD)
    other = os.path.join(os.path.dirname(here), "windows" if here.endswith("-x64") else "windows-x64")
    return [here] + ([other] if os.path.exists(os.path.join(other, "MivoraBoxAssistant.exe")) else [])


class Manifests(unittest.TestCase):
    def read(self, path):
        manifest = resource(path, RT_MANIFEST, PROCESS_MANIFEST)
        self.assertIsNotNone(manifest, f"{path} carries a manifest")
        return ET.fromstring(manifest)

    def check_common(self, root, path):
        levels = [e.get("level") for e in root.iter() if e.tag.endswith("requestedExecutionLevel")]
        self.assertEqual(levels, ["asInvoker"], path)
        systems = {e.get("Id") for e in root.iter() if e.tag.endswith("supportedOS")}
        self.assertEqual(systems, WINDOWS_7_TO_11, path)
        aware = [e for e in root.iter() if e.tag.endswith("dpiAware") or e.tag.endswith("dpiAwareness")]
        self.assertEqual(aware, [], f"{path}: Windows scales the window whole")

    def test_the_program_and_its_client(self):
        for tree in trees():
            program = os.path.join(tree, "MivoraBoxAssistant.exe")
            root = self.read(program)
            self.check_common(root, program)
            controls = [e.get("version") for e in root.iter() if e.tag.endswith("assemblyIdentity")
                        and e.get("name") == "Microsoft.Windows.Common-Controls"]
            self.assertEqual(controls, ["6.0.0.0"], program)
            client = os.path.join(tree, "adb.exe")
            self.check_common(self.read(client), client)


if __name__ == "__main__":
    unittest.main()
