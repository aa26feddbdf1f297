#!/usr/bin/python3
"""Plays an Android TV box's debug daemon on one address until it is sent SIGTERM or SIGINT.

Prints "ready <address>:<port>" on stdout once it accepts connections (also for --fault refuse,
once it has decided not to listen). SIGUSR1 plays the box's user revoking the debugging
authorisations of every computer and turning down the questions that follow.
"""

import argparse
import logging
import signal
import sys
import threading

from adbbox import AUTH_MODES, FAULT_HELP, PROFILES, Box, parse_faults
from adbbox.apps import generated_apps, place_apps
from adbbox.sizes import parse_size


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--address", default="127.0.0.2", help="IPv4 address to listen on (default 127.0.0.2)")
    parser.add_argument("--port", type=int, default=5555, help="TCP port (default 5555; 0 picks a free one)")
    parser.add_argument("--profile", default="generic", choices=sorted(PROFILES), help="make of box to play")
    parser.add_argument("--storage", required=True, help="the box's folder: packages.json, adb_keys, fs/")
    parser.add_argument("--auth", default="none", choices=AUTH_MODES,
                        help="none: no authorisation; trusted: only trusted keys, others refused at once; "
                             "ask-accept/ask-reject/ask-never: an unknown key is put to the box's user, "
                             "who accepts it (and it is kept), rejects it (the box closes the "
                             "connection) or never answers")
    parser.add_argument("--trust-key", action="append", default=[], metavar="FILE",
                        help="public key file (adbkey.pub format) the box trusts; may be repeated")
    parser.add_argument("--ask-delay", type=float, default=1.0, metavar="SECONDS",
                        help="how long the user takes to answer an ask-accept or ask-reject question")
    parser.add_argument("--fault", action="append", default=[], metavar="FAULT", help=FAULT_HELP)
    parser.add_argument("--capacity", type=parse_size, help="bytes for installed packages (K, M, G suffixes)")
    parser.add_argument("--apps", type=int, default=0, metavar="N",
                        help="put N apps on the box before it starts (labels, versions, dates, some split "
                             "APKs on Android 5 and later), as if installed long ago")
    parser.add_argument("--verbose", action="store_true", help="log connections and services on stderr")
    arguments = parser.parse_args(argv)
    try:
        arguments.faults = parse_faults(arguments.fault)
    except ValueError as error:
        parser.error(str(error))
    return arguments


def main(argv):
    arguments = parse_arguments(argv)
    logging.basicConfig(level=logging.INFO if arguments.verbose else logging.WARNING,
                        format="boxsim %(asctime)s %(message)s", stream=sys.stderr)
    finished = threading.Event()
    for signal_number in (signal.SIGTERM, signal.SIGINT):
        signal.signal(signal_number, lambda *_: finished.set())
    if arguments.apps:
        place_apps(arguments.storage, arguments.profile,
                   generated_apps(arguments.apps, splits=PROFILES[arguments.profile].apk_folder_per_package))
    box = Box(arguments.address, arguments.storage, port=arguments.port, profile=arguments.profile,
              auth=arguments.auth, trust_keys=arguments.trust_key, faults=arguments.faults,
              capacity=arguments.capacity, ask_delay=arguments.ask_delay)
    with box:
        signal.signal(signal.SIGUSR1, lambda *_: box.revoke())
        print(f"ready {box.address}:{box.port}", flush=True)
        while not finished.wait(1):
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
