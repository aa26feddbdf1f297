#!/usr/bin/python3
"""Screenshots of the main window for the README: every page state, the device picker and the About
box, taken in lab networks under Wine. Writes docs/screen-*.png.

    screenshots.py [build-dir [part...]]     parts: search, install, apps (all when none is named)"""
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
sys.path.insert(0, os.path.join(ROOT, "tools", "boxsim"))
from lab import Lab, wait_until  # noqa: E402
from program import ABOUT_AT, ACTION_LINK, DEVICE_PANEL_AT, DONE, NO_BOX, PROGRESS_LINE, READY, TAB_AT, Program  # noqa: E402
from adbbox.test_apks import write_apk, write_truncated_apk  # noqa: E402

DOCS = os.path.join(ROOT, "docs")
GREY, RED = (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00)
SUBNET = "192.168.1"


def window_shot(lab, program, name, height=600, width=900):
    """The window alone, cut from the screen."""
    from PIL import Image
    full = os.path.join(lab.workdir, name + "-full.png")
    lab.screenshot(full)
    x, y = program.origin
    Image.open(full).crop((x, y, x + width, y + height)).save(os.path.join(DOCS, name + ".png"))
    print(os.path.join(DOCS, name + ".png"), flush=True)


def search_screens(build):
    """States 1, 2, 0: a lab where one host answers but is no box."""
    config = {"adapters": [{"subnet": SUBNET, "pc": 10, "refusing": [30]}]}
    with Lab(build, config) as lab:
        lan = f"{lab.tag}-lan0"
        program = Program(lab, build, args=())
        window_shot(lab, program, "screen-1-searching")
        lab.run_in(lan, ["ip", "addr", "add", f"{SUBNET}.60/24", "dev", f"{lab.tag}l0"])
        lab.spawn(["socat", f"TCP-LISTEN:5555,bind={SUBNET}.60,fork,reuseaddr", "SYSTEM:echo not-adb"], namespace=lan)
        # The no-box page comes first (the host appears after the first search); search again finds it.
        if wait_until(lambda: program.shows(NO_BOX), 30):
            program.click_link(155, 185)
        time.sleep(2)
        window_shot(lab, program, "screen-2-identifying")
        wait_until(lambda: program.shows(NO_BOX), 30)
        window_shot(lab, program, "screen-0-no-box")


def install_screens(build):
    """States 3, 4, 5 with the reasons of the failures, the picker and the About box: three boxes of
    different makes."""
    config = {"adapters": [{"subnet": SUBNET, "pc": 10, "boxes": [
        {"host": 101, "profile": "mibox"}, {"host": 102, "profile": "letv"}, {"host": 103, "profile": "kiui"}]}]}
    with Lab(build, config) as lab:
        apks = os.path.join(lab.workdir, "apks")
        os.makedirs(apks)
        write_apk(os.path.join(apks, "视频播放器.apk"), "com.example.player", 14, size=60 * 1024 * 1024)
        write_apk(os.path.join(apks, "电视直播.apk"), "com.example.livetv", 14)
        write_truncated_apk(os.path.join(apks, "损坏的应用.apk"), "com.example.broken", 14)
        write_apk(os.path.join(apks, "模拟器专用.apk"), "com.example.emulator", 14, abis=("x86", "x86_64"))
        program = Program(lab, build, args=())
        wait_until(lambda: program.shows(READY), 40)
        time.sleep(1.5)
        program.screen.move(program.origin[0] + 700, program.origin[1] + 560)
        window_shot(lab, program, "screen-3-ready")
        program.click(DEVICE_PANEL_AT)
        wait_until(lambda: program.screen.window(178, 138), 10)
        time.sleep(0.5)
        window_shot(lab, program, "screen-picker")
        program.click((700, 560))
        time.sleep(0.5)
        lab.limit_box_link("100mbit", device="eth0")  # slow enough to see the install running
        program.drop([os.path.join(apks, n) for n in sorted(os.listdir(apks))])
        wait_until(lambda: program.colour_runs(GREY, *PROGRESS_LINE), 30)
        time.sleep(2)
        program.screen.move(program.origin[0] + 700, program.origin[1] + 560)
        window_shot(lab, program, "screen-4-installing")
        wait_until(lambda: program.shows(DONE), 120)
        time.sleep(0.5)
        window_shot(lab, program, "screen-5-done-partly")
        # Why the two failed: the lines under 查看原因, and the tooltip over the failure count.
        program.click_link(*ACTION_LINK)
        time.sleep(1)
        window_shot(lab, program, "screen-5-reasons")
        program.tooltip_over(program.colour_runs(RED, 385, 415)[0])
        time.sleep(0.5)
        window_shot(lab, program, "screen-5-reasons-tooltip")
        program.screen.move(program.origin[0] + 700, program.origin[1] + 560)
        program.click(ABOUT_AT)
        time.sleep(1.5)
        full = os.path.join(lab.workdir, "about.png")
        lab.screenshot(full)
        shutil.copy(full, os.path.join(DOCS, "screen-about.png"))
        print(os.path.join(DOCS, "screen-about.png"))


def apps_screens(build):
    """The app-management tab: the list, a search with two rows selected, the confirmation, and
    the rows' outcomes after an export and a refused uninstall."""
    config = {"adapters": [{"subnet": SUBNET, "pc": 10, "boxes": [
        {"host": 101, "profile": "mibox", "args": ["--apps", "40", "--fault", "keep:com.example.app011"]}]}]}
    with Lab(build, config) as lab:
        program = Program(lab, build, args=())
        wait_until(lambda: program.shows(READY), 40)
        program.click(TAB_AT[1])
        time.sleep(5)
        program.screen.move(program.origin[0] + 700, program.origin[1] + 580)
        window_shot(lab, program, "screen-apps")

        def xdotool(*args):
            lab.run_in(lab.pc, ["xdotool", *args], env=lab.wine_env(), timeout=30)
        program.click((150, 117))
        xdotool("type", "--delay", "40", "app01")
        time.sleep(1.5)
        for row in (0, 2):
            program.click((600, 160 + 46 * row + 41))
        time.sleep(0.5)
        window_shot(lab, program, "screen-apps-selected")
        program.click_link(160 + 46, 184 + 46, 1)
        time.sleep(1.5)
        window_shot(lab, program, "screen-apps-confirm")
        program.click_link(315, 365, 0)  # 卸载: the box's policy keeps this one
        time.sleep(4)
        out = os.path.join(lab.workdir, "exported")
        os.makedirs(out)
        program.click_link(160, 184, 2)
        time.sleep(3)
        xdotool("type", "--delay", "20", lab.windows_path(out))
        xdotool("key", "Return")
        time.sleep(4)
        program.screen.move(program.origin[0] + 700, program.origin[1] + 580)
        window_shot(lab, program, "screen-apps-outcomes")


PARTS = {"search": search_screens, "install": install_screens, "apps": apps_screens}


if __name__ == "__main__":
    os.makedirs(DOCS, exist_ok=True)
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "windows"))
    for part in sys.argv[2:] or list(PARTS):
        PARTS[part](build)
