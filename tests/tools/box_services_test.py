"""A box's insides without the network: profiles, package manager, shell and sync service."""

import json
import os
import struct
import unittest

from boxsim_support import TempDirTest, first_make_fragment
from adbbox.apps import AppSpec, place_apps
from adbbox.faults import DropConnection, Faults
from adbbox.package_manager import PackageManager
from adbbox.profiles import PROFILES
from adbbox.shell import Shell
from adbbox.storage import Storage
from adbbox.sync import SyncService
from adbbox.test_apks import write_apk, write_non_apk

MIB = 1024 * 1024


class ProfilesTest(unittest.TestCase):
    def test_each_make_is_named_by_its_own_fragment(self):
        expected = {"mele_a100": "mele_a100", "mele": "MELE", "kiui": "kiui", "godbox": "full aosp on godbox",
                    "letv": "letv", "mygica": "mygica", "i5d": "i5d", "mibox": "mibox", "generic": None}
        self.assertEqual(set(expected), set(PROFILES))
        for key, fragment in expected.items():
            profile = PROFILES[key]
            with self.subTest(key):
                self.assertEqual(first_make_fragment(profile.build_host + "\n" + profile.model), fragment)

    def test_some_makes_stream_installs_and_others_push(self):
        with_cmd = {key for key, profile in PROFILES.items() if profile.has_cmd}
        self.assertTrue(with_cmd and with_cmd != set(PROFILES))
        for key, profile in PROFILES.items():
            with self.subTest(key):
                self.assertEqual("features=cmd" in profile.banner(), key in with_cmd)
                self.assertEqual(profile.properties()["ro.build.version.sdk"], str(profile.sdk))


class BoxTestCase(TempDirTest):
    def make_box(self, profile, capacity=None):
        self.profile = PROFILES[profile]
        self.storage = Storage(self.temp / profile)
        self.packages = PackageManager(self.profile, self.storage, capacity or self.profile.capacity)
        self.shell = Shell(self.profile, self.storage, self.packages)

    def apk(self, package, min_sdk=1, size=0, name=None, seed=0):
        path = self.temp / (name or package + ".apk")
        write_apk(path, package, min_sdk=min_sdk, size=size, seed=seed)
        return path


class PackageManagerTest(BoxTestCase):
    def test_old_box_keeps_an_installed_package_unless_asked_to_replace(self):
        self.make_box("kiui")
        first = self.apk("com.mivora.app", min_sdk=9, size=MIB, seed=1)
        second = self.apk("com.mivora.app", min_sdk=9, size=2 * MIB, name="second.apk", seed=2)
        self.assertEqual(self.packages.install(first), "Success")
        self.assertEqual(self.packages.install(second), "Failure [INSTALL_FAILED_ALREADY_EXISTS]")
        self.assertEqual(self.storage.host_path("/data/app/com.mivora.app-1.apk").read_bytes(), first.read_bytes())
        self.assertEqual(self.packages.install(second, replace=True), "Success")
        record = json.loads(self.storage.packages_file.read_text())
        self.assertEqual(list(record), ["com.mivora.app"])
        self.assertLessEqual({"path": "/data/app/com.mivora.app-1.apk", "size": 2 * MIB, "minSdk": 9}.items(),
                             record["com.mivora.app"].items())
        self.assertEqual(self.storage.host_path(record["com.mivora.app"]["path"]).read_bytes(), second.read_bytes())

    def test_new_box_replaces_and_explains_its_failures(self):
        self.make_box("mibox")
        path = self.apk("com.mivora.app", min_sdk=28)
        self.assertEqual(self.packages.install(path), "Success")
        self.assertEqual(self.packages.install(path), "Success")
        self.assertTrue(self.storage.host_path("/data/app/com.mivora.app-1/base.apk").is_file())
        self.assertEqual(self.packages.install(self.apk("com.mivora.future", min_sdk=29)),
                         "Failure [INSTALL_FAILED_OLDER_SDK: Requires newer sdk version #29 (current version is #28)]")

    def test_min_sdk_is_compared_with_the_box_level(self):
        self.make_box("mele")  # SDK 17
        self.assertEqual(self.packages.install(self.apk("com.mivora.ok", min_sdk=17)), "Success")
        self.assertEqual(self.packages.install(self.apk("com.mivora.newer", min_sdk=18)),
                         "Failure [INSTALL_FAILED_OLDER_SDK]")

    def test_files_that_are_no_apk(self):
        self.make_box("i5d")
        text = self.temp / "note.apk"
        write_non_apk(text)
        self.assertEqual(self.packages.install(text), "Failure [INSTALL_FAILED_INVALID_APK]")
        self.assertEqual(self.storage.load_packages(), {})

    def test_capacity_counts_other_packages_but_not_the_one_replaced(self):
        self.make_box("mibox", capacity=3 * MIB)
        self.assertEqual(self.packages.install(self.apk("com.mivora.a", size=2 * MIB)), "Success")
        self.assertEqual(self.packages.install(self.apk("com.mivora.b", size=2 * MIB)),
                         "Failure [INSTALL_FAILED_INSUFFICIENT_STORAGE: Insufficient storage space]")
        self.assertEqual(self.packages.install(self.apk("com.mivora.a", size=3 * MIB, name="a2.apk")), "Success")
        self.assertEqual(set(self.storage.load_packages()), {"com.mivora.a"})

    def test_what_the_apk_brings_against_the_box_and_its_apps(self):
        # An app at version 5 signed by "vendor" that defines a permission, on boxes before Android
        # 5, between 5 and 7 (codes without reasons), and from 7 on (codes with reasons).
        installed = AppSpec("com.mivora.tv", version_code=5, signer="vendor",
                            permissions=("com.mivora.permission.REMOTE",))
        owner = "com.mivora.tv"
        cases = {
            "older": dict(package=owner, version_code=4, signer="vendor"),
            "resigned": dict(package=owner, version_code=6, signer="someone"),
            "x86 only": dict(package="com.mivora.x86", abis=("x86", "x86_64")),
            "same permission": dict(package="com.mivora.copy", permissions=("com.mivora.permission.REMOTE",)),
            "library": dict(package="com.mivora.maps", libraries=("com.google.android.maps",)),
            "newer": dict(package=owner, version_code=6, signer="vendor", abis=("x86", "armeabi-v7a")),
        }
        expected = {
            "letv": {"older": "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]",
                     "resigned": "Failure [INSTALL_PARSE_FAILED_INCONSISTENT_CERTIFICATES]",
                     "x86 only": "Failure [INSTALL_FAILED_CPU_ABI_INCOMPATIBLE]",
                     "same permission": "Success", "library": "Failure [INSTALL_FAILED_MISSING_SHARED_LIBRARY]",
                     "newer": "Success"},
            "generic": {"older": "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]",
                        "resigned": "Failure [INSTALL_FAILED_UPDATE_INCOMPATIBLE]",
                        "x86 only": "Failure [INSTALL_FAILED_NO_MATCHING_ABIS]",
                        "same permission": "Failure [INSTALL_FAILED_DUPLICATE_PERMISSION]",
                        "library": "Failure [INSTALL_FAILED_MISSING_SHARED_LIBRARY]", "newer": "Success"},
            "mibox": {"older": "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]",
                      "resigned": "Failure [INSTALL_FAILED_UPDATE_INCOMPATIBLE: Package com.mivora.tv signatures "
                                  "do not match the previously installed version; ignoring!]",
                      "x86 only": "Failure [INSTALL_FAILED_NO_MATCHING_ABIS: Failed to extract native "
                                  "libraries, res=-113]",
                      "same permission": "Failure [INSTALL_FAILED_DUPLICATE_PERMISSION: Package com.mivora.copy "
                                         "attempting to redeclare permission com.mivora.permission.REMOTE already "
                                         "owned by com.mivora.tv]",
                      "library": "Failure [INSTALL_FAILED_MISSING_SHARED_LIBRARY: Package couldn't be installed in "
                                 "/data/app/com.mivora.maps-1: Package com.mivora.maps requires unavailable shared "
                                 "library com.google.android.maps; failing!]",
                      "newer": "Success"},
        }
        for profile, verdicts in expected.items():
            with self.subTest(profile):
                self.make_box(profile)
                place_apps(self.storage.folder, profile, [installed])
                for name, apk in cases.items():
                    path = self.temp / f"{profile}-{name}.apk"
                    write_apk(path, **apk)
                    self.assertEqual(self.packages.install(path, replace=True), verdicts[name], name)
                packages = self.storage.load_packages()
                self.assertEqual(packages[owner]["versionCode"], 6, "only the newer one by the same signer replaced it")
                self.assertEqual("com.mivora.copy" in packages, profile == "letv")

    def test_a_library_the_box_has_or_need_not_have(self):
        self.make_box("mibox")
        path = self.temp / "tests.apk"
        write_apk(path, "com.mivora.tests", libraries=("android.test.runner",))
        self.assertEqual(self.packages.install(path), "Success")

    def test_an_older_version_replaces_a_newer_one_only_when_allowed(self):
        self.make_box("mibox")
        place_apps(self.storage.folder, "mibox", [AppSpec("com.mivora.tv", version_code=5)])
        older = self.temp / "older.apk"
        write_apk(older, "com.mivora.tv", version_code=2)
        self.assertEqual(self.packages.install(older), "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]")
        self.assertEqual(self.packages.install(older, downgrade=True), "Success")
        self.assertEqual(self.storage.load_packages()["com.mivora.tv"]["versionCode"], 2)

    def test_uninstall_removes_files_and_record(self):
        for profile, apk_path, leftover in (
                ("kiui", "/data/app/com.mivora.gone-1.apk", None),
                ("mibox", "/data/app/com.mivora.gone-1/base.apk", "/data/app/com.mivora.gone-1")):
            with self.subTest(profile):
                self.make_box(profile)
                self.packages.install(self.apk("com.mivora.gone"))
                self.assertTrue(self.storage.host_path(apk_path).exists())
                self.assertEqual(self.packages.uninstall("com.mivora.gone"), "Success")
                self.assertFalse(self.storage.host_path(apk_path).exists())
                if leftover:
                    self.assertFalse(self.storage.host_path(leftover).exists())
                self.assertEqual(self.storage.load_packages(), {})
                self.assertEqual(self.packages.uninstall("com.mivora.gone"), "Failure [DELETE_FAILED_INTERNAL_ERROR]")


class ShellTest(BoxTestCase):
    def test_the_model_query_of_the_program(self):
        self.make_box("godbox")
        output, status = self.shell.run("getprop ro.build.host;getprop ro.product.model")
        self.assertEqual((output, status), ("hmd-server\nFull AOSP on godbox\n", 0))

    def test_quoting_and_separators(self):
        self.make_box("generic")
        self.assertEqual(self.shell.run("echo 'a;b' \"c d\"; echo e\necho f"), ("a;b c d\ne\nf\n", 0))
        self.assertEqual(self.shell.run("getprop no.such.prop; getprop no.such.prop fallback"), ("\nfallback\n", 0))
        self.assertEqual(self.shell.run("echo 'open"),
                         ("/system/bin/sh: syntax error: unterminated quoted string\n", 2))
        self.assertEqual(self.shell.run("echo hidden >/dev/null; echo shown 2>&1"), ("shown\n", 0))

    def test_unknown_commands_and_cmd_on_old_boxes(self):
        self.make_box("letv")
        self.assertEqual(self.shell.run("foo bar"), ("/system/bin/sh: foo: not found\n", 127))
        self.assertEqual(self.shell.run("cmd package list packages"), ("/system/bin/sh: cmd: not found\n", 127))
        self.make_box("mygica")
        self.assertEqual(self.shell.run("cmd package list packages -3"), ("", 0))

    def test_pm_install_list_and_uninstall_of_a_pushed_file(self):
        self.make_box("mele_a100")
        pushed = self.storage.host_path("/data/local/tmp/app.apk")
        write_apk(pushed, "com.mivora.pushed", min_sdk=10)
        output, _ = self.shell.run("pm 'install' '/data/local/tmp/app.apk'")
        self.assertEqual(output, "\tpkg: /data/local/tmp/app.apk\nSuccess\n")
        self.assertEqual(self.shell.run("rm '/data/local/tmp/app.apk' </dev/null"), ("", 0))
        self.assertFalse(pushed.exists())
        self.assertTrue(self.storage.host_path("/data/app/com.mivora.pushed-1.apk").is_file())
        listing, _ = self.shell.run("pm list packages -f")
        self.assertIn("package:/data/app/com.mivora.pushed-1.apk=com.mivora.pushed\n", listing)
        self.assertIn("package:/system/app/Settings.apk=com.android.settings\n", listing)
        self.assertEqual(self.shell.run("pm list packages -3"), ("package:com.mivora.pushed\n", 0))
        self.assertEqual(self.shell.run("pm install /data/local/tmp/missing.apk")[0],
                         "\tpkg: /data/local/tmp/missing.apk\nFailure [INSTALL_FAILED_INVALID_URI]\n")
        self.assertEqual(self.shell.run("pm uninstall com.mivora.pushed"), ("Success\n", 0))

    def test_rm_stays_inside_what_the_shell_user_may_touch(self):
        self.make_box("generic")
        self.assertEqual(self.shell.run("rm /system/build.prop"), ("rm: /system/build.prop: Permission denied\n", 1))
        self.assertEqual(self.shell.run("rm /data/local/tmp/../../app/x.apk"),
                         ("rm: /data/local/tmp/../../app/x.apk: Permission denied\n", 1))
        self.assertEqual(self.shell.run("rm /data/local/tmp/none"),
                         ("rm: /data/local/tmp/none: No such file or directory\n", 1))
        self.assertEqual(self.shell.run("rm -f /data/local/tmp/none"), ("", 0))
        self.assertEqual(self.shell.run("pm install /data/local/tmp/a\0b")[1], 1)


class FakeStream:
    def __init__(self):
        self.data = bytearray()
        self.closed = False

    def write(self, data):
        self.data += data

    def close(self):
        self.closed = True


def sync_request(request, payload=b"", length=None):
    return struct.pack("<4sI", request, len(payload) if length is None else length) + payload


class SyncServiceTest(BoxTestCase):
    def open_sync(self, faults=Faults()):
        self.make_box("kiui")
        service, stream = SyncService(self.storage, faults), FakeStream()
        service.start(stream)
        return service, stream

    def push_requests(self, device_path, content, mtime=1_600_000_000):
        chunks = b"".join(sync_request(b"DATA", content[offset:offset + 65536])
                          for offset in range(0, len(content), 65536))
        return sync_request(b"SEND", f"{device_path},33188".encode()) + chunks + \
            sync_request(b"DONE", length=mtime)

    def test_push_cut_into_arbitrary_pieces(self):
        service, stream = self.open_sync()
        content = os.urandom(200_000)
        requests = self.push_requests("/data/local/tmp/a.apk", content) + sync_request(b"QUIT")
        for offset in range(0, len(requests), 777):
            service.receive(memoryview(requests[offset:offset + 777]))
        target = self.storage.host_path("/data/local/tmp/a.apk")
        self.assertEqual(target.read_bytes(), content)
        self.assertEqual(int(target.stat().st_mtime), 1_600_000_000)
        self.assertEqual(bytes(stream.data), sync_request(b"OKAY", length=0))
        self.assertTrue(stream.closed)

    def test_stat_of_present_and_missing_files(self):
        service, stream = self.open_sync()
        self.storage.host_path("/sdcard/x").write_bytes(b"12345")
        service.receive(sync_request(b"STAT", b"/sdcard/x") + sync_request(b"STAT", b"/sdcard/none"))
        mode, size, _ = struct.unpack_from("<III", stream.data, 4)
        self.assertEqual((bytes(stream.data[:4]), size, mode & 0o170000), (b"STAT", 5, 0o100000))
        self.assertEqual(bytes(stream.data[16:]), struct.pack("<4sIII", b"STAT", 0, 0, 0))

    def test_push_outside_the_writable_folders_fails(self):
        service, stream = self.open_sync()
        service.receive(self.push_requests("/system/app/evil.apk", b"x" * 10))
        message = b"couldn't create file: Permission denied"
        self.assertEqual(bytes(stream.data), sync_request(b"FAIL", message))
        self.assertTrue(stream.closed)
        self.assertFalse(self.storage.host_path("/system/app/evil.apk").exists())

    def test_pushes_the_file_system_cannot_take(self):
        for target, reason in (("/data/local/tmp/a\0b", "Invalid argument"), ("/sdcard", "Is a directory"),
                               ("/data/local/tmp/file/inner", "File exists")):
            with self.subTest(target):
                service, stream = self.open_sync()
                self.storage.host_path("/data/local/tmp/file").write_bytes(b"a file, not a folder")
                service.receive(self.push_requests(target, b"x" * 10))
                self.assertEqual(bytes(stream.data), sync_request(b"FAIL", f"couldn't create file: {reason}".encode()))
                self.assertTrue(stream.closed)

    def test_a_bogus_length_is_refused_before_its_bytes_arrive(self):
        service, stream = self.open_sync()
        service.receive(sync_request(b"SEND", b"/data/local/tmp/a,33188") + struct.pack("<4sI", b"DATA", 1 << 30))
        self.assertTrue(bytes(stream.data).startswith(b"FAIL"))
        self.assertFalse(self.storage.host_path("/data/local/tmp/a").exists())

    def test_drop_fault_cuts_the_push_and_leaves_no_partial_file(self):
        service, _ = self.open_sync(Faults(drop_after=100_000))
        with self.assertRaises(DropConnection):
            service.receive(self.push_requests("/data/local/tmp/big.apk", os.urandom(300_000)))
        self.assertFalse(self.storage.host_path("/data/local/tmp/big.apk").exists())

    def test_pushing_again_leaves_the_installed_copy_alone(self):
        service, _ = self.open_sync()
        first = self.temp / "first.apk"
        write_apk(first, "com.mivora.shared", size=100_000, seed=1)
        service.receive(self.push_requests("/data/local/tmp/app.apk", first.read_bytes()))
        self.assertEqual(self.shell.run("pm install /data/local/tmp/app.apk")[0].splitlines()[-1], "Success")
        service.receive(self.push_requests("/data/local/tmp/app.apk", b"other bytes"))
        installed = self.storage.host_path("/data/app/com.mivora.shared-1.apk")
        self.assertEqual(installed.read_bytes(), first.read_bytes())


if __name__ == "__main__":
    unittest.main(verbosity=2)
