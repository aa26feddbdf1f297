"""Binary manifests and APK files: ours must satisfy Debian's aapt, and aapt's must satisfy us."""

import io
import os
import random
import subprocess
import unittest
import zipfile

from boxsim_support import FRAMEWORK_RES, TempDirTest
from adbbox import apk
from adbbox.axml_writer import manifest
from adbbox.test_apks import write_apk, write_non_apk, write_truncated_apk

SOURCE_MANIFEST = """<?xml version="1.0" encoding="utf-8"?>
<manifest xmlns:android="http://schemas.android.com/apk/res/android" package="{package}"
          android:versionCode="7" android:versionName="1.7">
  {uses_sdk}
  {application}
</manifest>
"""


class ManifestsMadeByAaptTest(TempDirTest):
    """aapt compiles manifests with its own encoder (UTF-16 strings, its own chunk order)."""

    def compile(self, package, uses_sdk, application='<application android:label="Probe"/>'):
        if not os.path.exists(FRAMEWORK_RES):
            self.skipTest("android-framework-res is not installed: aapt cannot compile manifests")
        source = self.temp / "AndroidManifest.xml"
        source.write_text(SOURCE_MANIFEST.format(package=package, uses_sdk=uses_sdk, application=application), encoding="utf-8")
        output = self.temp / "compiled.apk"
        subprocess.run([self.tool("aapt"), "package", "-f", "-M", str(source), "-I", FRAMEWORK_RES,
                        "-F", str(output)], check=True, capture_output=True)
        return output

    def test_package_and_min_sdk_are_read(self):
        compiled = self.compile("com.example.compiled", '<uses-sdk android:minSdkVersion="21" '
                                'android:targetSdkVersion="28"/>')
        self.assertEqual(apk.read_package_info(compiled), apk.PackageInfo("com.example.compiled", 21))

    def test_missing_uses_sdk_means_level_1(self):
        compiled = self.compile("com.example.nosdk", "")
        self.assertEqual(apk.read_package_info(compiled), apk.PackageInfo("com.example.nosdk", 1))

    def test_defined_permissions_are_read(self):
        compiled = self.compile("com.example.owner", '<permission android:name="com.example.permission.A"/>'
                                '<uses-permission android:name="android.permission.INTERNET"/>'
                                '<permission android:name="com.example.permission.B"/>')
        self.assertEqual(apk.read_package_info(compiled).permissions,
                         ("com.example.permission.A", "com.example.permission.B"))

    def test_required_libraries_are_read(self):
        compiled = self.compile("com.example.maps", "", '<application android:label="Probe">'
                                '<uses-library android:name="com.google.android.maps"/>'
                                '<uses-library android:name="com.example.optional" android:required="false"/>'
                                '</application>')
        self.assertEqual(apk.read_package_info(compiled).libraries, ("com.google.android.maps",))

    def test_codename_min_sdk_is_above_every_box(self):
        compiled = self.compile("com.example.preview", '<uses-sdk android:minSdkVersion="Q"/>')
        self.assertGreater(apk.read_package_info(compiled).min_sdk, 100)


class ApksMadeByUsTest(TempDirTest):
    def badging(self, path):
        return subprocess.run([self.tool("aapt"), "dump", "badging", str(path)], check=True,
                              capture_output=True, text=True).stdout

    def test_aapt_reads_package_version_and_sdk(self):
        path = self.temp / "made.apk"
        write_apk(path, "com.mivora.made", min_sdk=19, version_code=42)
        badging = self.badging(path)
        self.assertIn("package: name='com.mivora.made' versionCode='42'", badging)
        self.assertIn("sdkVersion:'19'", badging)

    def test_native_code_permissions_and_signer_as_aapt_and_a_box_see_them(self):
        path, other = self.temp / "native.apk", self.temp / "other.apk"
        write_apk(path, "com.mivora.native", abis=("x86", "x86_64"), permissions=("com.mivora.permission.REMOTE",),
                  signer="vendor", libraries=("com.google.android.maps",), size=100_000)
        self.assertEqual(path.stat().st_size, 100_000)
        self.assertIn("native-code: 'x86' 'x86_64'", self.badging(path))
        self.assertIn("uses-library:'com.google.android.maps'", self.badging(path))
        self.assertEqual(apk.read_package_info(path).libraries, ("com.google.android.maps",))
        permissions = subprocess.run([self.tool("aapt"), "dump", "permissions", str(path)], check=True,
                                     capture_output=True, text=True).stdout
        self.assertIn("permission: com.mivora.permission.REMOTE", permissions)
        info = apk.read_package_info(path)
        self.assertEqual((info.abis, info.permissions), (("x86", "x86_64"), ("com.mivora.permission.REMOTE",)))
        write_apk(other, "com.mivora.native", signer="someone")
        self.assertNotEqual(apk.read_package_info(other).signer, info.signer, "each key is told apart")
        write_apk(other, "com.mivora.native", signer="vendor", version_code=9)
        self.assertEqual(apk.read_package_info(other).signer, info.signer, "one key, one signer, whatever it signs")
        write_apk(other, "com.mivora.native")
        self.assertIsNone(apk.read_package_info(other).signer)

    def test_padded_apk_has_the_exact_size_and_stays_valid(self):
        path = self.temp / "padded.apk"
        write_apk(path, "com.mivora.padded", min_sdk=15, size=3 * 1024 * 1024 + 7)
        self.assertEqual(path.stat().st_size, 3 * 1024 * 1024 + 7)
        with zipfile.ZipFile(path) as archive:
            self.assertIsNone(archive.testzip())
        self.assertIn("package: name='com.mivora.padded'", self.badging(path))
        self.assertEqual(apk.read_package_info(path), apk.PackageInfo("com.mivora.padded", 15))

    def test_seeds_make_different_padding(self):
        first, second = self.temp / "1.apk", self.temp / "2.apk"
        write_apk(first, "com.mivora.seed", size=200_000, seed=1)
        write_apk(second, "com.mivora.seed", size=200_000, seed=2)
        self.assertNotEqual(first.read_bytes(), second.read_bytes())

    def test_long_names_use_two_byte_lengths(self):
        name = "com.mivora." + "x" * 300
        path = self.temp / "long.apk"
        write_apk(path, name, min_sdk=28)
        self.assertEqual(apk.read_package_info(path), apk.PackageInfo(name, 28))
        self.assertIn(f"package: name='{name}'", self.badging(path))

    def test_files_that_are_no_installable_apk(self):
        not_apk, truncated, no_manifest = self.temp / "text.apk", self.temp / "cut.apk", self.temp / "bare.apk"
        write_non_apk(not_apk)
        write_truncated_apk(truncated, "com.mivora.cut")
        with zipfile.ZipFile(no_manifest, "w") as archive:
            archive.writestr("classes.dex", b"dex\n035\0")
        for path in (not_apk, truncated, no_manifest):
            with self.subTest(path.name), self.assertRaises(apk.InvalidApk):
                apk.read_package_info(path)


class DamagedManifestTest(unittest.TestCase):
    """A box must answer a damaged APK with a failure code, never stumble over it."""

    @staticmethod
    def apk_with(manifest_bytes):
        buffer = io.BytesIO()
        with zipfile.ZipFile(buffer, "w") as archive:
            archive.writestr("AndroidManifest.xml", manifest_bytes)
        buffer.seek(0)
        return buffer

    def assert_read_or_rejected(self, manifest_bytes):
        try:
            info = apk.read_package_info(self.apk_with(manifest_bytes))
        except apk.InvalidApk:
            return
        self.assertIsInstance(info.name, str)
        self.assertIsInstance(info.min_sdk, int)

    def test_every_truncation(self):
        good = manifest("com.mivora.cut", 17)
        for length in range(len(good)):
            with self.subTest(length=length):
                self.assert_read_or_rejected(good[:length])

    def test_random_corruption(self):
        good = manifest("com.mivora.noise", 17)
        generator = random.Random(5)
        for trial in range(2000):
            damaged = bytearray(good)
            for _ in range(generator.randint(1, 4)):
                damaged[generator.randrange(len(damaged))] = generator.randrange(256)
            with self.subTest(trial=trial):
                self.assert_read_or_rejected(bytes(damaged))


if __name__ == "__main__":
    unittest.main(verbosity=2)
