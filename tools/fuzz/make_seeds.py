#!/usr/bin/python3
"""Writes the fuzz targets' seed corpora (tests/fuzz/seeds/<target>/): real inputs of each parser,
made from the formats as the program meets them. Run again when a format changes; the fuzzers
start from these seeds and grow their own corpora under build/fuzz."""
import re
import struct
import subprocess
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SEEDS = ROOT / "tests" / "fuzz" / "seeds"


def utf16(text):
    return text.encode("utf-16-le")


def write(target, name, data):
    folder = SEEDS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


# --- caption markup: captions as the pages show them -------------------------------------------
CAPTIONS = [
    "{&#font=8}{&#color=0xffffff}正在寻找盒子{&#/color}{&#/font}",
    "{&#font=3}{&#color=0xffffff}192.168.1.20{&#/color}{&#/font}",
    "{&#font=5}{&#a=button:307}重新扫描联网的智能电视盒{&#/a}",
    "{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到192.168.1.20的盒子",
    "{&#font=10}{&#color=0x808080}正在安装video.apk，请稍候...",
    "{&#font=10}成功安装{&#color=0x2db24a}3{&#/color}个，失败{&#color=0xff0000}1{&#/color}个，"
    "{&#a=button:306}重新安装失败的APK{&#/a}",
    "{&#font=2}{&#a=http://www.example.com/}官方网站{&#/a}{&#/font}",
    "plain text without markup",
    "{&#font=99}{&#color=0xZZ}{&#a=}{&#/font}{&#/a}{&#",
]

# --- debug bridge messages, as a box sends them -------------------------------------------------
CNXN, AUTH, OPEN, OKAY, CLSE, WRTE = (0x4E584E43, 0x48545541, 0x4E45504F, 0x59414B4F, 0x45534C43, 0x45545257)


def message(command, arg0, arg1, payload=b""):
    checksum = sum(payload) & 0xFFFFFFFF
    return struct.pack("<6I", command, arg0, arg1, len(payload), checksum, command ^ 0xFFFFFFFF) + payload


def banner(features):
    return f"device::ro.product.name=mibox;ro.product.model=MiBOX3;features={features}".encode()


def shell_v2(out=b"", err=b"", status=0):
    frames = b""
    if out:
        frames += struct.pack("<BI", 1, len(out)) + out
    if err:
        frames += struct.pack("<BI", 2, len(err)) + err
    return frames + struct.pack("<BI", 3, 1) + bytes([status])


def sync_reply(okay=True, failure=b""):
    return b"OKAY\0\0\0\0" if okay else b"FAIL" + struct.pack("<I", len(failure)) + failure


def write_box_seeds():
    online = message(CNXN, 0x01000001, 256 * 1024, banner("shell_v2,cmd,stat_v2"))
    old = message(CNXN, 0x01000000, 4096, b"device::")
    token = message(AUTH, 1, 0, bytes(range(20)))
    # The client's first stream has local id 1, its second 2; the box answers with its own id 7.
    shell = message(OKAY, 7, 1) + message(WRTE, 7, 1, shell_v2(b"MiBOX3\n", b"", 0)) + message(CLSE, 7, 1)
    plain = message(OKAY, 7, 1) + message(WRTE, 7, 1, b"rk30sdk\r\n") + message(CLSE, 7, 1)
    second = message(OKAY, 8, 2) + message(WRTE, 8, 2, b"package:com.example.tv\n") + message(CLSE, 8, 2)
    sync = message(OKAY, 7, 1) + message(OKAY, 7, 1) + message(WRTE, 7, 1, sync_reply()) + message(CLSE, 7, 1)
    failed = message(OKAY, 7, 1) + message(OKAY, 7, 1) + message(WRTE, 7, 1, sync_reply(False, b"No space left"))
    version = message(OKAY, 7, 1) + message(WRTE, 7, 1, b"0029\n") + message(CLSE, 7, 1)
    refused = message(CLSE, 0, 1)
    # First byte: bit 0 a key, bit 1 offer it, bits 2-3 the exchange (shell, two shells, sync, line).
    for name, choice, sends in (("shell-v2", 0, online + shell), ("shell-old-box", 0, old + plain),
                                ("two-shells", 4, online + shell + second), ("signed", 1, token + online + shell),
                                ("key-offered", 3, token + token + online + shell), ("unauthorized", 2, token),
                                ("sync-okay", 8, online + sync), ("sync-fail", 8, online + failed),
                                ("answer-line", 12, online + version), ("refused", 0, online + refused)):
        write("box_transport", name, bytes([choice, 0]) + sends)
        write("box_transport", name + "-in-pieces", bytes([choice, 5]) + sends)
    write("box_frames", "banner", online)
    write("box_frames", "shell-v2", shell_v2(b"Success\n", b"warning\n", 0))
    write("box_frames", "shell-v2-failure", shell_v2(b"", b"Failure [INSTALL_FAILED_OLDER_SDK]\n", 1))
    write("box_frames", "sync", sync_reply() + sync_reply(False, b"remote couldn't create file: Permission denied"))
    write("box_frames", "endpoint", b"192.168.1.20:5555")
    write("box_frames", "endpoint-host", b"tvbox.local")


# --- client output, as the engine reads it -------------------------------------------------------
OUTPUTS = [
    (0, "connected to 192.168.1.20:5555\r\n"),
    (0, "already connected to 192.168.1.20:5555\r\n"),
    (1, "failed to connect to '192.168.1.21:5555': Connection refused\r\n"),
    (1, "unable to connect to 192.168.1.21:5555: cannot connect\r\n"),
    (0, "Performing Streamed Install\r\nSuccess\r\n"),
    (0, "1234 KB/s (5242880 bytes in 4.150s)\r\n\tpkg: /data/local/tmp/video.apk\r\nSuccess\r\n"),
    (1, "adb: failed to install video.apk: Failure [INSTALL_FAILED_ALREADY_EXISTS]\r\n"),
    (1, "Failure [INSTALL_FAILED_INSUFFICIENT_STORAGE]\r\n"),
    (1, "error: device unauthorized.\r\n"),
    (0, "rk30sdk\r\nMiBOX3\r\n"),
    (0, "mele_a100\r\nA100\r\n"),
    (0, "192.168.1.20"),
]

# --- resume trailers: partial files as the download engine leaves them ---------------------------
MARKER = "4D69766F7261426F-86C36F73-2C25-4a7d-91EA-F5581018A42D".encode("utf-16-le")


def trailer(records):
    body = b"".join(struct.pack("<IIqqq", *r) for r in records)
    return struct.pack("<I", len(records)) + body + struct.pack("<I", 4 + 32 * len(records)) + MARKER


# --- PNG pictures as the skin holds them ----------------------------------------------------------
def png(width, height, color_type, channels, rows_filter=0, palette=None):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(bytes([rows_filter]) + bytes((x * 40 + y * 7 + c * 3) & 0xFF for x in range(width)
                                                 for c in range(channels)) for y in range(height))
    chunks = chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0))
    if palette:
        chunks += chunk(b"PLTE", palette)
    return b"\x89PNG\r\n\x1a\n" + chunks + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def test_key(name):
    text = (ROOT / "tests" / "adb" / "client" / "test_keys.h").read_text()
    return re.search(r'k%s\[\] = R"\((.*?)\)"' % name, text, re.S).group(1).encode()


# --- what a box prints about its apps: package list, dump, launcher queries, paths, sizes ---------
LISTING = ("package:/data/app/com.example.tv-Xyz==/base.apk=com.example.tv\n"
           "package:/system/priv-app/Settings/Settings.apk=com.android.settings\n"
           "@@@@\n"
           "Packages:\n"
           "  Package [com.example.tv] (4a2c1f0):\n"
           "    codePath=/data/app/com.example.tv-Xyz==\n"
           "    versionCode=120 minSdk=21 targetSdk=28\n"
           "    versionName=1.2.0\n"
           "    splits=[base, config.armeabi_v7a]\n"
           "    pkgFlags=[ HAS_CODE ALLOW_CLEAR_USER_DATA ]\n"
           "    lastUpdateTime=2026-11-30 20:14:03\n"
           "  Package [com.android.settings] (1b2):\n"
           "    codePath=/system/priv-app/Settings\n"
           "    versionCode=28 targetSdk=28\n"
           "    versionName=9\n"
           "    pkgFlags=[ SYSTEM HAS_CODE ]\n"
           "@@@@\n"
           "1 activities found:\n"
           "  Activity #0:\n"
           "    ActivityInfo:\n"
           "      packageName=com.example.tv\n"
           "      labelRes=0x0 nonLocalizedLabel=电视 直播 icon=0x0 banner=0x7f020000\n"
           "@@@@\n"
           "No activities found\n")
SIZES = ("=com.example.tv\n-rw-r--r-- 1 system system 5242880 2026-11-30 20:14 /data/app/com.example.tv-Xyz==/base.apk\n"
         "=com.android.settings\n-rw-r--r-- 1 root root 31457280 2009-01-01 08:00 /system/priv-app/Settings/Settings.apk\n")


def main():
    for n, caption in enumerate(CAPTIONS, 1):
        write("markup", f"caption-{n}", utf16(caption))
    write_box_seeds()
    for n, (code, output) in enumerate(OUTPUTS, 1):
        write("engine_output", f"output-{n}", struct.pack("<I", code) + utf16(output))
    for name, total, records in (("one", 300, [(1, 1, 0, 299, 120)]),
                                 ("ten", 1000, [(1, 1, i * 100, i * 100 + 99, i) for i in range(10)])):
        write("trailer", name, bytes(total) + trailer(records))
    write("png", "rgba", png(3, 2, 6, 4))
    write("png", "rgb-up-filter", png(4, 3, 2, 3, rows_filter=2))
    write("png", "paeth", png(5, 5, 6, 4, rows_filter=4))
    tool = b"MZ" + bytes(range(256)) * 4
    write("tool_image", "tool", struct.pack("<I", len(tool)) + zlib.compress(tool, 9))
    write("tool_image", "empty", struct.pack("<I", 0) + zlib.compress(b""))
    for name in ("Pkcs8", "Pkcs1"):
        write("key_files", name.lower(), test_key(name))
    write("key_files", "private-key-blob", subprocess.run(["openssl", "rsa", "-outform", "MSBLOB"], input=test_key("Pkcs1"),
                                                          capture_output=True, check=True).stdout)
    write("key_files", "known-devices", b"192.168.1.20:5555\n  10.0.0.7:5555\r\n\n192.168.1.20:5555\n")
    for n, text in enumerate(("bytes 100-199/200", "bytes 0-0/*", " BYTES 5-9/10 ",
                              "http://h/f.metalink#MetalinkFile2"), 1):
        write("download_answers", f"answer-{n}", bytes([1, 3, 4]) + utf16(text))
    for n, output in enumerate(("progress: 0/5242880\nprogress: 2621440/5242880\nprogress: 5242880/5242880\n"
                                "Performing Streamed Install\nSuccess\n",
                                "progress: 65536/104857600\r\nadb: failed to install big.apk: "
                                "the box closed the connection\r\n",
                                "Failure [INSTALL_FAILED_OLDER_SDK: Requires newer sdk version #21 (current version is #17)]\n",
                                "error: device unauthorized.\nThis adb server's $ADB_VENDOR_KEYS is not set\n"), 1):
        write("failure_reasons", f"output-{n}", bytes([n]) + output.encode())
    write("app_listing", "listing", utf16(LISTING))
    write("app_listing", "sizes", utf16(SIZES))
    write("app_listing", "paths", utf16("package:/data/app/a-1/base.apk\r\npackage:/data/app/a-1/split_config.zh.apk\r\n"))
    for name, text in (("next", "1.0.0.2|1.0.0.1"), ("short", "1.10|1.9.0.0"), ("bad", "1..2|x")):
        write("versions", name, utf16(text))


if __name__ == "__main__":
    main()
