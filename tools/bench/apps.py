"""The app-management tab: seconds from the click on the tab to the list of 150 apps on the screen
(apps_list_s) and to their sizes being known (apps_sized_s), on a simulated Android 9 box; and an
export of a 100 MB APK through the program against `adb pull` of the same file by Debian's adb,
one run each (apps_export_vs_adb_pull, with both times). The export is timed from the key that
takes the folder in the standard folder dialog, whose closing under Wine takes a second or two of
its own; apps_export_client_vs_adb_pull leaves the dialog out: the program's client run that copies
the file (its command log tells how long it took) against Debian's."""
import os
import re
import sys
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402
from program import READY, TAB_AT, Program  # noqa: E402
from screen import LINK_RGB  # noqa: E402

DEBIAN_ADB = "/usr/lib/android-sdk/platform-tools/adb"
BOX = "10.231.80.150"
FIRST_ROW = (160, 184)
MIB = 1024 * 1024


def first_row_links(program):
    return len([run for run in program.colour_runs(LINK_RGB, *FIRST_ROW) if run[1] - run[0] > 8]) == 3


def sizes_asked_and_answered(log):
    """Whether every command that asked the box for sizes has ended (the command log marks both)."""
    asked = len(re.findall(r"<-----before DoCommand \S+ -s \S+ shell echo =", log))
    answered = len(re.findall(r"----->after time=\d+ DoCommand \S+ -s \S+ shell echo =", log))
    return asked > 0 and asked == answered


def xdotool(lab, *args):
    lab.run_in(lab.pc, ["xdotool", *args], env=lab.wine_env(), timeout=60)


def run(build):
    config = {"adapters": [{"subnet": "10.231.80", "boxes": [{"host": 150, "profile": "mibox", "args": ["--apps", "150"]}]}]}
    with Lab(build, config) as lab:
        program = Program(lab, build)
        if not program.wait_shows(READY, 60):
            raise RuntimeError("the program found no box")
        start = time.monotonic()
        program.click(TAB_AT[1])
        if not wait_until(lambda: first_row_links(program), 60, interval=0.05):
            raise RuntimeError("the apps did not show")
        yield "apps_list_s", round(time.monotonic() - start, 2)
        if not wait_until(lambda: sizes_asked_and_answered(program.log()), 60, interval=0.05):
            raise RuntimeError("the sizes did not come")
        yield "apps_sized_s", round(time.monotonic() - start, 2)

        # The first row's app (com.example.app005 has no label, so it sorts first) grows to 100 MB.
        apk = os.path.join(lab.boxes[BOX], "fs", "data", "app", "com.example.app005-1", "base.apk")
        with open(apk, "ab") as f:
            f.write(os.urandom(100 * MIB))
        size = os.path.getsize(apk)
        out = os.path.join(lab.workdir, "exported")
        os.makedirs(out)
        program.click_link(*FIRST_ROW, 2)
        if not wait_until(lambda: lab.run_in(lab.pc, ["xdotool", "search", "--name", "选择导出到的文件夹"],
                                             env=lab.wine_env(), timeout=30).stdout.strip(), 30):
            raise RuntimeError("no folder dialog")
        time.sleep(1)
        xdotool(lab, "type", "--delay", "20", lab.windows_path(out))
        start = time.monotonic()
        xdotool(lab, "key", "Return")
        done = wait_until(lambda: [n for n in os.listdir(out) if not n.startswith(".") and
                                   os.path.getsize(os.path.join(out, n)) == size], 600, interval=0.05)
        if not done:
            raise RuntimeError("the export did not end\n" + program.log()[-2000:])
        ours = time.monotonic() - start
        pulls = re.findall(r"----->after time=(\d+) DoCommand \S+ -s \S+ pull ", program.log())
        if len(pulls) != 1:
            raise RuntimeError("the export did not take one client run\n" + program.log()[-2000:])
        client = int(pulls[0]) / 1000
        program.stop()

        home = os.path.join(lab.workdir, "home")
        os.makedirs(home)
        env = {"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "HOME": home,
               "ANDROID_ADB_SERVER_PORT": str(5037 + os.getpid() % 1000)}
        lab.run_in(lab.pc, [DEBIAN_ADB, "connect", BOX], env=env, timeout=120)
        target = os.path.join(lab.workdir, "pulled.apk")
        start = time.monotonic()
        lab.run_in(lab.pc, [DEBIAN_ADB, "-s", f"{BOX}:5555", "pull", "/data/app/com.example.app005-1/base.apk",
                            target], env=env, timeout=600, check=True)
        theirs = time.monotonic() - start
        lab.run_in(lab.pc, [DEBIAN_ADB, "kill-server"], env=env, timeout=60)
        if os.path.getsize(target) != size:
            raise RuntimeError("Debian's adb pulled another size")
        yield "apps_export_s", round(ours, 2)
        yield "apps_adb_pull_s", round(theirs, 2)
        yield "apps_export_vs_adb_pull", round(ours / theirs, 2)
        yield "apps_export_client_s", round(client, 2)
        yield "apps_export_client_vs_adb_pull", round(client / theirs, 2)
