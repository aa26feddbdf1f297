#!/usr/bin/python3
"""Debian's pyftpdlib serving a folder to anonymous users, for the download tests. Its reply to the
data-port command is worded as most FTP servers word it ("200 PORT command successful."), which
is what tells a client that its restart command can follow. --refuse-active answers every PORT
with "425", as a server that cannot open data connections to its clients; --rate holds each data
connection to a pace, so that a download's connections meet on a file. Every command and every
transfer is logged to --log as a JSON line. Prints "ready" once it listens."""
import json
import logging
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

import served_folder


def main():
    def describe(parser):
        parser.add_argument("--refuse-active", action="store_true")
        parser.add_argument("--rate", type=int, default=0, help="bytes per second and data connection")

    options = served_folder.options(describe)
    logging.basicConfig(level=logging.CRITICAL)

    def record(entry):
        entry["time"] = round(time.time(), 3)
        with open(options.log, "a") as log:
            log.write(json.dumps(entry) + "\n")

    class Handler(FTPHandler):
        def on_connect(self):
            record({"connected": self.remote_port})

        def pre_process_command(self, line, cmd, arg):
            record({"command": cmd, "arg": arg if cmd != "PASS" else ""})
            super().pre_process_command(line, cmd, arg)

        def ftp_PORT(self, line):
            if options.refuse_active:
                self.respond("425 Can't open data connection.")
                return
            super().ftp_PORT(line)

        def respond(self, resp, logfun=logging.debug):
            if resp.startswith("200 Active data connection established"):
                resp = "200 PORT command successful."
            super().respond(resp, logfun)

        def log_transfer(self, cmd, filename, receive, completed, elapsed, bytes):
            record({"transfer": cmd, "completed": completed, "bytes": bytes})

    class Transfers(ThrottledDTPHandler):
        write_limit = options.rate

    if options.rate:
        Handler.dtp_handler = Transfers
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(options.root)
    Handler.authorizer = authorizer
    server = FTPServer((options.address, options.port), Handler)
    print("ready", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
