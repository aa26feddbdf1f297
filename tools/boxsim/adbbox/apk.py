"""What a package manager learns from an APK file: its package name and the SDK level it needs,
what it shows of the app (version, label, whether a launcher can start it), and what it checks
against the box and the apps already on it: who signed it, the processors its native code is built
for, the system libraries it requires, the permissions it defines."""

import hashlib
import posixpath
import zipfile
from dataclasses import dataclass, field

from . import axml

MIN_SDK_VERSION_ID = 0x0101020C
LABEL_ID = 0x01010001
NAME_ID = 0x01010003
VERSION_CODE_ID = 0x0101021B
VERSION_NAME_ID = 0x0101021C
REQUIRED_ID = 0x0101028E
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
    signer: str = field(default=None, compare=False)  # digest of its certificate; None: unsigned
    abis: tuple = field(default=(), compare=False)  # the lib/<abi>/ folders; none: no native code
    permissions: tuple = field(default=(), compare=False)  # the permissions it defines
    libraries: tuple = field(default=(), compare=False)  # the system's shared libraries it requires


# A signed APK carries its signer's certificate in META-INF; a box tells signers apart by it.
_CERTIFICATE_ENDINGS = (".RSA", ".DSA", ".EC")


def read_package_info(path):
    try:
        with zipfile.ZipFile(path) as archive:
            entry = archive.getinfo("AndroidManifest.xml")
            if entry.file_size > _MANIFEST_LIMIT:
                raise InvalidApk("manifest is implausibly large")
            manifest = archive.read(entry)
            names = archive.namelist()
            certificates = sorted(name for name in names if posixpath.dirname(name) == "META-INF"
                                  and name.upper().endswith(_CERTIFICATE_ENDINGS))
            signer = hashlib.sha256(archive.read(certificates[0])).hexdigest() if certificates else None
    except KeyError:
        raise InvalidApk("no AndroidManifest.xml") from None
    except (zipfile.BadZipFile, zipfile.LargeZipFile, OSError, EOFError, NotImplementedError) as error:
        raise InvalidApk(f"not a readable zip: {error}") from None
    try:
        elements = axml.parse(manifest)
    except axml.BinaryXmlError as error:
        raise InvalidApk(f"manifest: {error}") from None
    return _package_info(elements, signer, _native_abis(names))


def _native_abis(names):
    """The ABIs of lib/<abi>/<library> entries, in the APK's order."""
    abis = []
    for name in names:
        parts = name.split("/")
        if len(parts) == 3 and parts[0] == "lib" and parts[1] and parts[2] and parts[1] not in abis:
            abis.append(parts[1])
    return tuple(abis)


def _package_info(elements, signer, abis):
    if not elements or elements[0].name != "manifest":
        raise InvalidApk("manifest does not start with <manifest>")
    package = elements[0].attribute("package")
    if package is None or not isinstance(package.value, str) or not package.value:
        raise InvalidApk("manifest names no package")
    min_sdk, label, permissions, libraries = 1, None, [], []
    for element in elements:
        if element.name == "uses-library" and element.depth == 2:
            name, required = element.attribute("name", NAME_ID), element.attribute("required", REQUIRED_ID)
            if name is not None and isinstance(name.value, str) and (required is None or required.value):
                libraries.append(name.value)
        if element.name == "permission" and element.depth == 1:
            attribute = element.attribute("name", NAME_ID)
            if attribute is not None and isinstance(attribute.value, str) and attribute.value:
                permissions.append(attribute.value)
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
                       label=label or None, launcher=_launcher_categories(elements), signer=signer,
                       abis=abis, permissions=tuple(permissions), libraries=tuple(libraries))


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
