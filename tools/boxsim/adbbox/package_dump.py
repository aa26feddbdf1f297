"""What a box's diagnostic commands print about its packages, in the words of the Android version
the box runs: `dumpsys package`, `cmd package query-activities`, `ls -l` and `monkey`."""

import posixpath
import time
import zlib

TOYBOX_SDK = 23         # Android 6 replaced toolbox's ls with toybox's
MIN_SDK_IN_DUMP = 24    # Android 7 put minSdk beside versionCode
MAIN_ACTION = "android.intent.action.MAIN"
CATEGORY_PREFIX = "android.intent.category."


def _hash(text):
    return f"{zlib.crc32(text.encode('utf-8')):x}"


def _time(seconds):
    return time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(seconds))


def _code_path(profile, path):
    """The folder of a package installed on Android 5 or later; the APK itself before, and for the
    flat files of the system's own apps."""
    if profile.apk_folder_per_package and path.startswith("/data/app/"):
        return posixpath.dirname(path)
    return path


def dump_packages(profile, records):
    """`dumpsys package packages` (and the Packages section of `dumpsys package NAME`)."""
    sdk = profile.sdk
    lines = ["Packages:"]
    for name, record in records:
        system = record.get("system", False)
        code_path = _code_path(profile, record["path"])
        flags = "[ SYSTEM HAS_CODE PERSISTENT ]" if system else "[ HAS_CODE ALLOW_CLEAR_USER_DATA ALLOW_BACKUP ]"
        lines += [f"  Package [{name}] ({_hash(name)}):",
                  f"    userId={record['uid']}" + ("" if sdk >= MIN_SDK_IN_DUMP else " gids=[3003]"),
                  f"    pkg=Package{{{_hash(name + '/pkg')} {name}}}",
                  f"    codePath={code_path}",
                  f"    resourcePath={code_path}"]
        if profile.apk_folder_per_package:
            library = f"{code_path}/lib" if code_path != record["path"] else "/system/lib"
            lines += [f"    legacyNativeLibraryDir={library}", "    primaryCpuAbi=armeabi-v7a",
                      "    secondaryCpuAbi=null"]
        else:
            lines.append(f"    nativeLibraryPath=/data/app-lib/{name}-1")
        version = f"    versionCode={record['versionCode']}"
        if sdk >= MIN_SDK_IN_DUMP:
            version += f" minSdk={record['minSdk']}"
        lines += [version + f" targetSdk={sdk}", f"    versionName={record['versionName']}"]
        if profile.apk_folder_per_package:
            lines.append("    splits=[" + ", ".join(["base"] + record.get("splits", [])) + "]")
        data = f"/data/user/0/{name}" if sdk >= MIN_SDK_IN_DUMP else f"/data/data/{name}"
        lines += [f"    applicationInfo=ApplicationInfo{{{_hash(name + '/app')} {name}}}",
                  f"    flags={flags}",
                  f"    dataDir={data}",
                  "    supportsScreens=[small, medium, large, xlarge, resizeable, anyDensity]",
                  f"    timeStamp={_time(record['lastUpdateTime'])}",
                  f"    firstInstallTime={_time(record['firstInstallTime'])}",
                  f"    lastUpdateTime={_time(record['lastUpdateTime'])}",
                  f"    signatures=PackageSignatures{{{_hash(name + '/sig')} [{_hash(name + '/key')}]}}"]
        if sdk >= TOYBOX_SDK:
            lines += ["    installPermissionsFixed=true installStatus=1", f"    pkgFlags={flags}",
                      "    install permissions:", "      android.permission.INTERNET: granted=true",
                      "    User 0: ceDataInode=0 installed=true hidden=false suspended=false stopped=false "
                      "notLaunched=false enabled=0"]
        else:
            lines += ["    permissionsFixed=true haveGids=true installStatus=1", f"    pkgFlags={flags}"]
            if sdk >= 17:  # Android 4.2 brought several users
                lines.append("    User 0:  installed=true stopped=false notLaunched=false enabled=0")
            lines += ["    grantedPermissions:", "      android.permission.INTERNET"]
    return "\n".join(lines) + "\n"


def query_activities(records, action, categories):
    """`cmd package query-activities -a ACTION -c CATEGORY...`: the main activities whose filter holds
    the action and every category, each with its application."""
    found = [(name, record) for name, record in records
             if action == MAIN_ACTION and categories and
             all(category.startswith(CATEGORY_PREFIX) and category[len(CATEGORY_PREFIX):] in record.get("launcher", [])
                 for category in categories)]
    if not found:
        return "No activities found\n"
    lines = [f"{len(found)} activities found:"]
    for index, (name, record) in enumerate(found):
        lines += [f"  Activity #{index}:",
                  "    priority=0 preferredOrder=0 match=0x108000 specificIndex=-1 isDefault=true",
                  "    ActivityInfo:",
                  f"      name={name}.MainActivity",
                  f"      packageName={name}",
                  "      enabled=true exported=true directBootAware=false",
                  f"      taskAffinity={name} targetActivity=null persistableMode=PERSIST_ROOT_ONLY",
                  "      launchMode=0 flags=0x3 theme=0x0",
                  "      screenOrientation=-1 configChanges=0x0 softInputMode=0x0",
                  "      lockTaskLaunchMode=LOCK_TASK_LAUNCH_MODE_DEFAULT",
                  "      ApplicationInfo:",
                  f"        packageName={name}"]
        if record.get("label"):
            lines.append(f"        labelRes=0x0 nonLocalizedLabel={record['label']} icon=0x0 banner=0x0")
        lines += [f"        processName={name}",
                  f"        taskAffinity={name}",
                  f"        uid={record['uid']} flags=0x3e8be44 privateFlags=0x1000 theme=0x0",
                  f"        sourceDir={record['path']}",
                  f"        enabled=true minSdkVersion={record['minSdk']} versionCode={record['versionCode']}"]
    return "\n".join(lines) + "\n"


def list_files(profile, storage, paths):
    """`ls -l PATH...` of files: toolbox's columns and bare names before Android 6, toybox's after."""
    output, status = [], 0
    for path in paths:
        host = storage.host_path(path)
        if not host.is_file():
            output.append(f"ls: {path}: No such file or directory\n" if profile.sdk >= TOYBOX_SDK
                          else f"lstat '{path}' failed: No such file or directory\n")
            status = 1
            continue
        info = host.stat()
        when = time.strftime("%Y-%m-%d %H:%M", time.gmtime(info.st_mtime))
        if profile.sdk >= TOYBOX_SDK:
            output.append(f"-rw-r--r-- 1 system system {info.st_size} {when} {path}\n")
        else:
            output.append(f"-rw-r--r-- system   system   {info.st_size:>8} {when} {posixpath.basename(path)}\n")
    return "".join(output), status


def monkey(package_manager, arguments):
    """`monkey -p PACKAGE [-c CATEGORY]... COUNT`: starts the package's main activity from a launcher
    category (LAUNCHER and MONKEY when none is given), as one injected event."""
    packages, categories = [], []
    for option, value in zip(arguments, arguments[1:]):
        if option == "-p":
            packages.append(value)
        elif option == "-c":
            categories.append(value[len(CATEGORY_PREFIX):] if value.startswith(CATEGORY_PREFIX) else value)
    categories = categories or ["LAUNCHER", "MONKEY"]
    if not any(package_manager.launch(package, categories) for package in packages):
        return "** No activities found to run, monkey aborted.\n", 251
    return "Events injected: 1\n## Network stats: elapsed time=21ms (0ms mobile, 0ms wifi, 21ms not connected)\n", 0
