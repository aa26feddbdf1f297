#!/usr/bin/python3
"""Hosts on port 5555 that are no ADB device, for the client's fault tests. Run inside a lab
namespace: odd_host.py MODE ADDRESS; prints "ready" once in place, runs until killed.

  garbage     accepts and answers with an HTTP error page, as a web server would
  unanswered  never answers a connection attempt (its SYNs are dropped: a full accept queue)
"""
import socket
import sys
import threading


def garbage(address):
    server = socket.create_server((address, 5555))
    print("ready", flush=True)
    while True:
        peer, _ = server.accept()
        peer.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n" * 4)
        threading.Timer(30, peer.close).start()


def unanswered(address):
    server = socket.socket()
    server.bind((address, 5555))
    server.listen(0)
    # One connection fills the queue; Linux then drops every further SYN without a word.
    filler = socket.create_connection((address, 5555))
    spare = socket.socket()
    spare.settimeout(0.5)
    try:
        spare.connect((address, 5555))
    except OSError:
        pass
    print("ready", flush=True)
    threading.Event().wait()
    filler.close()


if __name__ == "__main__":
    {"garbage": garbage, "unanswered": unanswered}[sys.argv[1]](sys.argv[2])
