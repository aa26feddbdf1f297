"""Apps put on a box's storage directly, as if they had been installed long ago: with labels,
versions, install dates, launcher entries and split APKs, which the box then lists, dumps, pulls and
uninstalls like any other. Also the box's own system apps, whose files every box carries."""

import random
import time
from dataclasses import dataclass

from .apk import read_package_info
from .package_manager import app_record, next_uid
from .profiles import PROFILES, SYSTEM_PACKAGES
from .storage import Storage
from .test_apks import write_apk

DAY = 24 * 3600


@dataclass(frozen=True)
class AppSpec:
    package: str
    label: str = None                 # a literal label; none: the box can tell no name
    version_code: int = 1
    version_name: str = "1.0"
    size: int = 0                     # bytes of the base APK (0: as small as it can be)
    splits: tuple = ()                # (split name, bytes) of each split APK
    launcher: tuple = ("LEANBACK_LAUNCHER",)
    installed: int = None             # seconds since 1970; none: now
    min_sdk: int = 1
    seed: int = 0                     # of the APK's padding
    signer: str = None                # the name of the key it is signed with; none: unsigned
    permissions: tuple = ()           # the permissions it defines


def place_apps(folder, profile, apps):
    """Writes the apps' APK files where the profile's package manager keeps them and lists them in
    packages.json; returns the device paths of each app's files, base first."""
    storage = Storage(folder)
    profile = PROFILES[profile]
    packages = storage.load_packages()
    placed = {}
    for app in apps:
        folder_per_package = profile.apk_folder_per_package
        if app.splits and not folder_per_package:
            raise ValueError(f"{app.package}: split APKs need Android 5 or later")
        base = f"/data/app/{app.package}-1/base.apk" if folder_per_package else f"/data/app/{app.package}-1.apk"
        paths = [base] + [f"/data/app/{app.package}-1/split_{name}.apk" for name, _ in app.splits]
        storage.host_path(base).parent.mkdir(parents=True, exist_ok=True)
        write_apk(storage.host_path(base), app.package, app.min_sdk, size=app.size,
                  version_code=app.version_code, version_name=app.version_name, label=app.label,
                  launcher=app.launcher, seed=app.seed, signer=app.signer, permissions=app.permissions)
        for (name, size), path in zip(app.splits, paths[1:]):
            write_apk(storage.host_path(path), app.package, app.min_sdk, size=size, split=name, seed=app.seed + 1)
        total = sum(storage.host_path(path).stat().st_size for path in paths)
        when = int(time.time()) if app.installed is None else app.installed
        info = read_package_info(storage.host_path(base))
        packages[app.package] = app_record(base, total, info, next_uid(packages), when, when,
                                            splits=[name for name, _ in app.splits])
        placed[app.package] = paths
    storage.save_packages(packages)
    return placed


def provide_system_apps(storage):
    """The files of the box's own apps, written once per storage folder."""
    for app in SYSTEM_PACKAGES:
        target = storage.host_path(app.path)
        if not target.exists():
            target.parent.mkdir(parents=True, exist_ok=True)
            write_apk(target, app.name, 1, label=app.label, launcher=app.launcher)


_NAMES = ("电视直播", "影视大全", "儿童动画", "天气预报", "音乐电台", "健身教练", "K歌之王", "浏览器", "文件管理",
          "游戏中心", "相册", "体育直播", "新闻资讯", "戏曲频道", "少儿英语", "广场舞", "网络测速", "投屏助手")


def generated_apps(count, seed=0, splits=True):
    """A plausible mix of apps a box has gathered: most with a Chinese label, a few without any; some
    for the TV's launcher, some for a phone's; a few split into base and configuration APKs (only
    where splits is allowed); versions and install dates all different, sizes of a few kilobytes."""
    generator = random.Random(seed)
    now = int(time.time())
    apps = []
    for index in range(count):
        name = _NAMES[index % len(_NAMES)]
        round_ = index // len(_NAMES)
        label = None if index % 11 == 5 else (name if round_ == 0 else f"{name} {round_ + 1}")
        split = splits and index % 7 == 3
        apps.append(AppSpec(
            package=f"com.example.app{index:03d}", label=label, version_code=index + 1,
            version_name=f"{1 + index % 4}.{index % 10}.{generator.randrange(20)}",
            size=generator.randrange(8_000, 60_000),
            splits=(("config.armeabi_v7a", generator.randrange(4_000, 20_000)),) if split else (),
            launcher=("LAUNCHER",) if index % 9 == 4 else ("LEANBACK_LAUNCHER",),
            installed=now - generator.randrange(1, 400) * DAY, seed=seed * 1000 + index))
    return apps
