#!/usr/bin/python3
"""`make demo`: the program under Wine in a private lab network with three simulated TV boxes of
different makes. With a display the window shows there and the user drives it (drop files from a
file manager); headless, a short scripted session runs (find, pick, drop, the install's progress
over a 100 Mbit/s link, results with the reasons of the failures, the apps tab, then an upgrade to
the next build offered by the lab's update server) and a screenshot of each step goes to out/demo/.
The lab is removed when the demo ends."""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import ABOUT_AT, ACTION_LINK, DONE, PROGRESS_LINE, READY, TAB_AT, Program  # noqa: E402
from screen import LINK_RGB  # noqa: E402
from adbbox.test_apks import write_apk, write_truncated_apk  # noqa: E402
from update_step import walk_through_upgrade  # noqa: E402

SUBNET = "192.168.1"
GREY, RED = (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00)
CONFIG = {"adapters": [{"subnet": SUBNET, "pc": 10, "boxes": [
    {"host": 101, "profile": "mibox", "args": ["--apps", "30"]}, {"host": 102, "profile": "letv", "args": ["--apps", "12"]},
    {"host": 103, "profile": "kiui"}]}]}


def sample_apks(folder):
    """Two APKs that install and three that no box takes, each for a reason of its own."""
    os.makedirs(folder, exist_ok=True)
    paths = [os.path.join(folder, name) for name in ("视频播放器.apk", "电视直播.apk", "损坏的应用.apk",
                                                     "新系统专用.apk", "模拟器专用.apk")]
    write_apk(paths[0], "com.example.player", 14, size=40 * 1024 * 1024)
    write_apk(paths[1], "com.example.livetv", 14, size=20 * 1024 * 1024)
    write_truncated_apk(paths[2], "com.example.broken", 14)
    write_apk(paths[3], "com.example.future", 33)  # Android 13
    write_apk(paths[4], "com.example.emulator", 14, abis=("x86", "x86_64"))
    return paths


def scripted(lab, build, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    shots = []

    def shot(name):
        path = os.path.join(out_dir, name + ".png")
        lab.screenshot(path)
        shots.append(path)
        print(path, flush=True)

    apks = sample_apks(os.path.join(lab.workdir, "apks"))
    program = Program(lab, build, args=())
    shot("01-searching")
    if not program.wait_shows(READY, 40):
        raise SystemExit("no box became ready")
    wait_until(lambda: False, 1.5)  # let the other boxes be named too
    shot("02-ready")
    program.choose_in_picker(rows=3, row=None)
    shot("03-picker")
    picker = program.screen.window(178, 207)
    if picker:
        program.screen.click(picker[0] + 89, picker[1] + 69 + 34)
        # The page stays ready all along: the picker going away is what shows the choice was taken.
        wait_until(lambda: program.screen.window(178, 207) is None, 10)
    program.wait_shows(READY, 10)
    shot("04-picked")
    lab.limit_box_link("100mbit", device="eth0")  # slow enough to watch the progress line
    program.drop(apks)
    wait_until(lambda: program.colour_runs(GREY, *PROGRESS_LINE), 30)
    wait_until(lambda: False, 1.5)
    shot("05-installing")
    wait_until(lambda: program.shows(DONE), 120)
    shot("06-result")
    count = program.colour_runs(RED, 385, 415)
    if count:  # the pointer rests on the failure count: the tooltip names each failed APK and why
        program.tooltip_over(count[0])
        wait_until(lambda: False, 0.5)
        shot("07-failure-tooltip")
        program.screen.move(program.origin[0] + 700, program.origin[1] + 580)
    program.click_link(*ACTION_LINK)  # 查看原因
    wait_until(lambda: False, 1.0)
    shot("08-reasons")
    program.click_link(385, 415, 0)
    wait_until(lambda: not program.shows(DONE), 60)
    shot("09-retried")
    program.click(TAB_AT[1])
    wait_until(lambda: len([run for run in program.colour_runs(LINK_RGB, 160, 184) if run[1] - run[0] > 8]) == 3, 60)
    shot("10-apps")
    program.click(ABOUT_AT)
    wait_until(lambda: False, 1.0)
    shot("11-about")
    program.stop()
    steps = iter(range(12, 100))
    walk_through_upgrade(lab, build, lambda name: shot(f"{next(steps):02d}-{name}"))
    return shots


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "windows"))
    user_display = os.environ.get("DISPLAY") or None
    with Lab(build, CONFIG, display=user_display) as lab:
        if user_display:
            folder = os.path.join(ROOT, "out", "demo", "apks")
            sample_apks(folder)
            program = Program(lab, build, args=())
            print(f"The program runs in a private network with three TV boxes; sample APKs are in {folder}.")
            print("Drop them on the window; close the window to end the demo.")
            program.process.wait()
            return
        scripted(lab, build, os.path.join(ROOT, "out", "demo"))


if __name__ == "__main__":
    try:
        main()
    except (RuntimeError, OSError, subprocess.SubprocessError) as error:
        # What the machine lacks (root, a display server, Wine) is said in a line, not a traceback.
        sys.exit(f"demo: {error}")
