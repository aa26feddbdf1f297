#!/usr/bin/python3
"""Hosts on port 5555 that are no ADB device, for the client's fault tests. Run inside a lab
namespace: odd_host.py MODE ADDRESS; prints "ready" once in place, runs until killed.

  garbage     accepts and answers with an HTTP error page, as a web server would
  unanswered  never answers a connection attempt (its SYNs are dropped: a full accept queue)
  closing     reads until the client shuts its side down, then closes at once, as a box does
              when a command is over
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


def closing(address):
    server = socket.create_server((address, 5555), backlog=64)
    print("ready", flush=True)
    while True:
        peer, _ = server.accept()
        threading.Thread(target=read_then_close, args=(peer,), daemon=True).start()


def read_then_close(peer):
    with peer:
        while peer.recv(4096):
            pass


if __name__ == "__main__":
    {"garbage": garbage, "unanswered": unanswered, "closing": closing}[sys.argv[1]](sys.argv[2])
