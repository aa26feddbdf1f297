#!/usr/bin/python3
"""Makes APK files for tests.

  make_apk.py OUT --package NAME [--min-sdk N] [--size BYTES]   a real APK (zip + binary manifest)
              [--signer NAME] [--abi ABI]... [--permission NAME]... [--library NAME]...
  make_apk.py OUT --package NAME --truncated                    the same, cut in half
  make_apk.py OUT --not-apk                                     a text file, not an APK at all
"""

import argparse
import sys

from adbbox.test_apks import write_apk, write_non_apk, write_truncated_apk
from adbbox.sizes import parse_size


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("output")
    parser.add_argument("--package", help="package name, such as com.example.app")
    parser.add_argument("--min-sdk", type=int, default=1, help="minSdkVersion (default 1)")
    parser.add_argument("--version-code", type=int, default=1)
    parser.add_argument("--size", type=parse_size, default=0,
                        help="pad with stored random data to this many bytes (K, M, G suffixes)")
    parser.add_argument("--seed", type=int, default=0, help="seed of the padding's random data")
    parser.add_argument("--signer", help="name of the key it is signed with (a box tells apps apart by it)")
    parser.add_argument("--abi", action="append", default=[], help="a processor its native library is built for")
    parser.add_argument("--permission", action="append", default=[], help="a permission it defines")
    parser.add_argument("--library", action="append", default=[], help="a shared library of the system it requires")
    kind = parser.add_mutually_exclusive_group()
    kind.add_argument("--truncated", action="store_true", help="cut the APK in half (a corrupt APK)")
    kind.add_argument("--not-apk", action="store_true", help="write a text file instead")
    arguments = parser.parse_args(argv)
    if arguments.not_apk:
        write_non_apk(arguments.output)
        return 0
    if not arguments.package:
        parser.error("--package is required")
    if arguments.truncated:
        write_truncated_apk(arguments.output, arguments.package, arguments.min_sdk)
    else:
        write_apk(arguments.output, arguments.package, arguments.min_sdk, size=arguments.size,
                  version_code=arguments.version_code, seed=arguments.seed, signer=arguments.signer,
                  abis=arguments.abi, permissions=arguments.permission, libraries=arguments.library)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
