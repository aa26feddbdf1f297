#!/usr/bin/python3
"""An HTTP server of the download tests' own, for what nginx cannot be made to do. It serves the
files of a folder; the first parts of a path choose a behaviour, the last part names the file:

  /plain/<file>                      200 or 206, with Accept-Ranges
  /http10/<file>                     answers as an HTTP/1.0 server (ranges honoured, said nowhere)
  /cut/<bytes>/<times>/<file>        the first <times> requests are cut after <bytes> of body
  /stall/<file>                      reads the request and never answers
  /stall-after/<bytes>/<file>        sends the headers and <bytes> of body, then nothing more
  /status/<code>/<times>/<file>      the first <times> requests get <code>, later ones the file
  /lying/<extra>/<times>/<file>      the first <times> answers claim <extra> more bytes than they send
  /ignores-range/<file>              says it takes ranges, then answers every request with the whole file
  /slow-first/<ms>/<behaviour...>    waits <ms>, then answers as the rest of the path says
  /metalink/<file>                   the file as application/metalink+xml

Every request is logged to --log as a JSON line: path, range, status, body bytes sent, user agent.
Prints "ready" once it listens."""
import json
import os
import re
import socket
import socketserver
import threading
import time

import served_folder

LOCK = threading.Lock()
COUNTS = {}


def count(key):
    with LOCK:
        COUNTS[key] = COUNTS.get(key, 0) + 1
        return COUNTS[key]


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        line = self.rfile.readline(65536).decode("latin-1").strip()
        headers = {}
        while True:
            header = self.rfile.readline(65536).decode("latin-1")
            if header in ("\r\n", "\n", ""):
                break
            name, _, value = header.partition(":")
            headers[name.strip().lower()] = value.strip()
        parts = line.split()
        if len(parts) < 2:
            return
        path = parts[1]
        self.entry = {"path": path, "range": headers.get("range", ""), "agent": headers.get("user-agent", ""),
                      "time": time.time(),
                      "status": 0, "sent": 0}
        try:
            self.route(path.strip("/").split("/"), headers.get("range", ""))
        except (BrokenPipeError, ConnectionResetError):
            pass
        finally:
            self.log()

    def log(self):
        if self.entry.pop("logged", False):
            return
        with LOCK, open(self.server.log, "a") as log:
            log.write(json.dumps(self.entry) + "\n")
        self.entry["logged"] = True

    def stall(self):
        self.log()
        time.sleep(300)

    def route(self, words, range_header):
        kind, args, name = words[0], words[1:-1], words[-1]
        body = self.read_file(name)
        if body is None:
            return self.answer(404, b"not here\n")
        if kind == "plain":
            return self.serve(body, range_header)
        if kind == "http10":
            return self.serve(body, range_header, version="HTTP/1.0", accept_ranges=False)
        if kind == "cut":
            limit = int(args[0]) if count(self.entry["path"]) <= int(args[1]) else None
            return self.serve(body, range_header, limit=limit)
        if kind == "stall":
            return self.stall()
        if kind == "stall-after":
            self.serve(body, range_header, limit=int(args[0]), close=False)
            return self.stall()
        if kind == "status":
            if count(self.entry["path"]) <= int(args[1]):
                return self.answer(int(args[0]), b"not now\n")
            return self.serve(body, range_header)
        if kind == "lying":
            if count(self.entry["path"]) <= int(args[1]):
                return self.serve(body, "", claimed=len(body) + int(args[0]), accept_ranges=False)
            return self.serve(body, "", accept_ranges=False)
        if kind == "ignores-range":
            return self.serve(body, "")
        if kind == "slow-first":
            time.sleep(int(words[1]) / 1000)
            return self.route(words[2:], range_header)
        if kind == "metalink":
            return self.serve(body, "", content_type="application/metalink+xml", accept_ranges=False)
        return self.answer(404, b"no such behaviour\n")

    def read_file(self, name):
        path = os.path.join(self.server.root, os.path.basename(name))
        try:
            with open(path, "rb") as f:
                return f.read()
        except OSError:
            return None

    def answer(self, status, body):
        self.entry["status"] = status
        head = f"HTTP/1.1 {status} Status\r\nContent-Length: {len(body)}\r\nConnection: close\r\n\r\n"
        self.wfile.write(head.encode() + body)
        self.entry["sent"] = len(body)

    def serve(self, body, range_header, version="HTTP/1.1", accept_ranges=True, limit=None, close=True,
              claimed=None, content_type="application/octet-stream"):
        first, last, status = 0, len(body) - 1, 200
        match = re.fullmatch(r"bytes=(\d+)-(\d*)", range_header)
        if match and int(match.group(1)) < len(body):
            first, status = int(match.group(1)), 206
            if match.group(2):
                last = min(last, int(match.group(2)))
        part = body[first:last + 1]
        lines = [f"{version} {status} {'OK' if status == 200 else 'Partial Content'}",
                 f"Content-Type: {content_type}", f"Content-Length: {claimed if claimed else len(part)}",
                 "Connection: close"]
        if accept_ranges:
            lines.append("Accept-Ranges: bytes")
        if status == 206:
            lines.append(f"Content-Range: bytes {first}-{last}/{len(body)}")
        self.entry["status"] = status
        self.wfile.write(("\r\n".join(lines) + "\r\n\r\n").encode())
        data = part if limit is None else part[:limit]
        for at in range(0, len(data), 65536):
            self.wfile.write(data[at:at + 65536])
            self.entry["sent"] += len(data[at:at + 65536])
        self.wfile.flush()
        if limit is not None and close:
            # Cut, not ended: the client must see a broken connection, not a short answer.
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    options = served_folder.options()
    server = Server((options.address, options.port), Handler)
    server.root, server.log = options.root, options.log
    print("ready", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
