"""What a package manager learns from an APK file: its package name and the SDK level it needs."""

import zipfile
from dataclasses import dataclass

from . import axml

MIN_SDK_VERSION_ID = 0x0101020C
# A manifest may name an unreleased platform by its codename; no box of ours runs one.
_CODENAME_SDK = 10000
_MANIFEST_LIMIT = 16 * 1024 * 1024


class InvalidApk(ValueError):
    """The file is not an APK a box could install."""


@dataclass(frozen=True)
class PackageInfo:
    name: str
    min_sdk: int


def read_package_info(path):
    try:
        with zipfile.ZipFile(path) as archive:
            entry = archive.getinfo("AndroidManifest.xml")
            if entry.file_size > _MANIFEST_LIMIT:
                raise InvalidApk("manifest is implausibly large")
            manifest = archive.read(entry)
    except KeyError:
        raise InvalidApk("no AndroidManifest.xml") from None
    except (zipfile.BadZipFile, zipfile.LargeZipFile, OSError, EOFError, NotImplementedError) as error:
        raise InvalidApk(f"not a readable zip: {error}") from None
    try:
        elements = axml.parse(manifest)
    except axml.BinaryXmlError as error:
        raise InvalidApk(f"manifest: {error}") from None
    return _package_info(elements)


def _package_info(elements):
    if not elements or elements[0].name != "manifest":
        raise InvalidApk("manifest does not start with <manifest>")
    package = elements[0].attribute("package")
    if package is None or not isinstance(package.value, str) or not package.value:
        raise InvalidApk("manifest names no package")
    min_sdk = 1
    for element in elements:
        if element.name == "uses-sdk" and element.depth == 1:
            attribute = element.attribute("minSdkVersion", MIN_SDK_VERSION_ID)
            if attribute is not None:
                min_sdk = _sdk_level(attribute.value)
    return PackageInfo(package.value, min_sdk)


def _sdk_level(value):
    if isinstance(value, bool):
        raise InvalidApk("minSdkVersion is not a number")
    if isinstance(value, int):
        return value
    return int(value) if value.isdigit() else _CODENAME_SDK
