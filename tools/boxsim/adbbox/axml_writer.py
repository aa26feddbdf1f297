"""Writer of Android binary XML, enough for the manifests of test APKs."""

import struct
from dataclasses import dataclass

from . import axml

ANDROID_NS = "http://schemas.android.com/apk/res/android"
# Framework attribute ids: Android looks manifest attributes up by these, not by their names.
ANDROID_ATTRIBUTE_IDS = {
    "label": 0x01010001,
    "name": 0x01010003,
    "minSdkVersion": 0x0101020C,
    "versionCode": 0x0101021B,
    "versionName": 0x0101021C,
    "required": 0x0101028E,
}
MAIN_ACTION = "android.intent.action.MAIN"
CATEGORY_PREFIX = "android.intent.category."


@dataclass
class Node:
    name: str
    attributes: list  # of (android namespace: bool, name, value: str or int)
    children: list


def manifest(package, min_sdk, version_code=1, version_name="1.0", label=None, launcher=(), split=None,
             permissions=(), libraries=()):
    """label: the application's label as a literal string (none: no label); launcher: the
    categories ("LEANBACK_LAUNCHER", "LAUNCHER") of a main activity that starts the app; split: the
    split's name, for a split APK's manifest; permissions: names of the permissions the app
    defines; libraries: shared libraries of the system it cannot run without."""
    activities = []
    if launcher:
        intent_filter = Node("intent-filter", [], [Node("action", [(True, "name", MAIN_ACTION)], [])] + [
            Node("category", [(True, "name", CATEGORY_PREFIX + category)], []) for category in launcher])
        activities.append(Node("activity", [(True, "name", package + ".MainActivity")], [intent_filter]))
    needed = [Node("uses-library", [(True, "name", name)], []) for name in libraries]
    application = Node("application", [(True, "label", label)] if label else [], needed + activities)
    uses_sdk = Node("uses-sdk", [(True, "minSdkVersion", min_sdk)], [])
    attributes = [(True, "versionCode", version_code), (True, "versionName", version_name), (False, "package", package)]
    if split:
        attributes.append((False, "split", split))
    defined = [Node("permission", [(True, "name", name)], []) for name in permissions]
    root = Node("manifest", attributes, [uses_sdk] + defined + [application])
    return encode(root)


def encode(root):
    strings = _StringTable()
    for name in ANDROID_ATTRIBUTE_IDS:  # attribute names with ids come first: the map covers them
        strings.index(name)
    strings.index("android")
    strings.index(ANDROID_NS)
    body = [_namespace(axml.RES_XML_START_NAMESPACE_TYPE, strings)]
    _element(root, strings, body)
    body.append(_namespace(axml.RES_XML_END_NAMESPACE_TYPE, strings))
    ids = list(ANDROID_ATTRIBUTE_IDS.values())
    resource_map = _chunk(axml.RES_XML_RESOURCE_MAP_TYPE, b"", struct.pack(f"<{len(ids)}I", *ids))
    content = strings.encode() + resource_map + b"".join(body)
    return struct.pack("<HHI", axml.RES_XML_TYPE, 8, 8 + len(content)) + content


class _StringTable:
    def __init__(self):
        self._strings = []

    def index(self, text):
        if text not in self._strings:
            self._strings.append(text)
        return self._strings.index(text)

    def encode(self):
        data, offsets = bytearray(), []
        for text in self._strings:
            offsets.append(len(data))
            encoded = text.encode("utf-8")
            data += _utf8_length(len(text)) + _utf8_length(len(encoded)) + encoded + b"\0"
        data += b"\0" * (-len(data) % 4)
        header_size = 28
        strings_start = header_size + 4 * len(offsets)
        header = struct.pack("<IIIII", len(offsets), 0, axml.UTF8_FLAG, strings_start, 0)
        return _chunk(axml.RES_STRING_POOL_TYPE, header, struct.pack(f"<{len(offsets)}I", *offsets) + data)


def _utf8_length(value):
    if value > 0x7FFF:
        raise ValueError("string too long for the manifest")
    return bytes([value]) if value < 0x80 else bytes([0x80 | (value >> 8), value & 0xFF])


def _chunk(kind, extra_header, body):
    header_size = 8 + len(extra_header)
    return struct.pack("<HHI", kind, header_size, header_size + len(body)) + extra_header + body


def _node_header(line):
    return struct.pack("<II", line, axml.NO_INDEX)


def _namespace(kind, strings):
    return _chunk(kind, _node_header(1), struct.pack("<II", strings.index("android"), strings.index(ANDROID_NS)))


def _element(node, strings, out):
    name = strings.index(node.name)
    attributes = b"".join(_attribute(attribute, strings) for attribute in node.attributes)
    ext = struct.pack("<IIHHHHHH", axml.NO_INDEX, name, 20, 20, len(node.attributes), 0, 0, 0)
    out.append(_chunk(axml.RES_XML_START_ELEMENT_TYPE, _node_header(1), ext + attributes))
    for child in node.children:
        _element(child, strings, out)
    out.append(_chunk(axml.RES_XML_END_ELEMENT_TYPE, _node_header(1), struct.pack("<II", axml.NO_INDEX, name)))


def _attribute(attribute, strings):
    in_android, name, value = attribute
    namespace = strings.index(ANDROID_NS) if in_android else axml.NO_INDEX
    if isinstance(value, int):
        raw, data_type, data = axml.NO_INDEX, axml.TYPE_INT_DEC, value & 0xFFFFFFFF
    else:
        raw = strings.index(value)
        data_type, data = axml.TYPE_STRING, raw
    return struct.pack("<IIIHBBI", namespace, strings.index(name), raw, 8, 0, data_type, data)
