#!/usr/bin/python3
"""Runs the program in a private lab network under Wine. With a display the window shows there
and the demo ends when the window is closed; headless, it takes screenshots of each step into
out/demo/ and prints their paths."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "lab"))
from lab import Lab, wait_until  # noqa: E402

MAIN_CLASS = "ClientFrame" + "X" * 30


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "windows"))
    exe = os.path.join(build, "MivoraBoxAssistant.exe")
    wintool = os.path.join(build, "bin", "wintool.exe")
    user_display = os.environ.get("DISPLAY") or None
    out_dir = os.path.abspath(os.path.join(ROOT, "out", "demo"))

    with Lab(build, display=user_display) as lab:
        program = lab.wine([exe])
        shown = wait_until(lambda: lab.wine_output([wintool, "count", MAIN_CLASS]).strip() == "1", 60)
        if not shown:
            sys.exit("the program's window did not appear")
        if user_display:
            print("The program runs in a private network; close its window to end the demo.")
            program.wait()
            return
        shot = os.path.join(out_dir, "01-started.png")
        lab.screenshot(shot)
        print(shot)
        lab.wine_output([wintool, "close", MAIN_CLASS])
        program.wait(timeout=30)


if __name__ == "__main__":
    main()
