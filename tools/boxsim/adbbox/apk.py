"""What a package manager learns from an APK file: its package name and the SDK level it needs,
and what it shows of the app: version, label, and whether a launcher can start it."""

import zipfile
from dataclasses import dataclass, field

from . import axml

MIN_SDK_VERSION_ID = 0x0101020C
LABEL_ID = 0x01010001
NAME_ID = 0x01010003
VERSION_CODE_ID = 0x0101021B
VERSION_NAME_ID = 0x0101021C
MAIN_ACTION = "android.intent.action.MAIN"
CATEGORY_PREFIX = "android.intent.category."
# A manifest may name an unreleased platform by its codename; no box of ours runs one.
_CODENAME_SDK = 10000
_MANIFEST_LIMIT = 16 * 1024 * 1024


class InvalidApk(ValueError):
    """The file is not an APK a box could install."""


@dataclass(frozen=True)
class PackageInfo:
    name: str
    min_sdk: int
    # What the box reports of an installed app; an APK is told apart by the two above.
    version_code: int = field(default=1, compare=False)
    version_name: str = field(default=None, compare=False)
    label: str = field(default=None, compare=False)  # a literal label; a resource reference is no text
    launcher: tuple = field(default=(), compare=False)  # categories of its main activity's filter


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
    min_sdk, label = 1, None
    for element in elements:
        if element.name == "uses-sdk" and element.depth == 1:
            attribute = element.attribute("minSdkVersion", MIN_SDK_VERSION_ID)
            if attribute is not None:
                min_sdk = _sdk_level(attribute.value)
        if element.name == "application" and element.depth == 1:
            attribute = element.attribute("label", LABEL_ID)
            label = attribute.value if attribute is not None and isinstance(attribute.value, str) else None
    code = elements[0].attribute("versionCode", VERSION_CODE_ID)
    name = elements[0].attribute("versionName", VERSION_NAME_ID)
    return PackageInfo(package.value, min_sdk,
                       version_code=code.value if code is not None and isinstance(code.value, int) else 1,
                       version_name=name.value if name is not None and isinstance(name.value, str) else None,
                       label=label or None, launcher=_launcher_categories(elements))


def _launcher_categories(elements):
    """The categories of the first intent filter of an activity that holds the main action."""
    for index, element in enumerate(elements):
        if element.name != "intent-filter":
            continue
        children = []
        for child in elements[index + 1:]:
            if child.depth <= element.depth:
                break
            attribute = child.attribute("name", NAME_ID)
            children.append((child.name, attribute.value if attribute is not None else None))
        if ("action", MAIN_ACTION) in children:
            return tuple(value[len(CATEGORY_PREFIX):] for kind, value in children
                         if kind == "category" and isinstance(value, str) and value.startswith(CATEGORY_PREFIX))
    return ()


def _sdk_level(value):
    if isinstance(value, bool):
        raise InvalidApk("minSdkVersion is not a number")
    if isinstance(value, int):
        return value
    return int(value) if value.isdigit() else _CODENAME_SDK
