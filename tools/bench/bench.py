#!/usr/bin/python3
"""Prints the project's benchmark figures as `name: value` lines. Each benchmark is a module in
this folder with a run(build_dir) function that yields (name, value) pairs.
Usage: bench.py [build dir] [module...]   (every module when none is named)"""
import importlib
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
# Module names, run in this order; boxsim_bench (tests/tools) shows the simulated box is no bottleneck.
BENCHMARKS = ["boxsim_bench", "install", "batch", "discovery", "own_client", "main_window", "apps", "hostile_boxes",
              "download", "update"]


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/windows")
    sys.path.insert(0, HERE)
    for folder in (os.path.join(HERE, "..", "..", "tests", "tools"), os.path.join(HERE, "..", "boxsim")):
        sys.path.insert(0, os.path.abspath(folder))
    with open(os.path.join(build, "wine-arch")) as f:
        print(f"arch: {f.read().strip()}", flush=True)
    for name in sys.argv[2:] or BENCHMARKS:
        for key, value in importlib.import_module(name).run(build):
            print(f"{key}: {value}", flush=True)


if __name__ == "__main__":
    try:
        main()
    except (RuntimeError, OSError, subprocess.SubprocessError) as error:
        sys.exit(f"bench: {error}")
