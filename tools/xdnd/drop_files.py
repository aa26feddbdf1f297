#!/usr/bin/python3
"""Drops files on whatever window lies at a screen point, as a file manager does: a real X
drag-and-drop (XDND) offering text/uri-list. Prints "accepted" or "refused".

    drop_files.py X Y FILE...      (DISPLAY must name the X display)
Exit code 0 when the target accepted the drop, 1 when it refused it, 2 on a protocol failure."""
import sys
import time
import urllib.parse

import Xlib.error
from Xlib import X, display, protocol

TIMEOUT = 10


def uri_list(paths):
    return "".join("file://" + urllib.parse.quote(path) + "\r\n" for path in paths).encode()


def target_at(d, root, x, y):
    """The topmost top-level window that contains the point and understands XDND."""
    aware = d.intern_atom("XdndAware")
    for window in reversed(root.query_tree().children):
        # Wine makes and destroys small windows of its own all the time (tooltips, pop-ups): one may
        # be gone by the time it is asked anything.
        try:
            attrs = window.get_attributes()
            geometry = window.get_geometry()
            if attrs.map_state != X.IsViewable:
                continue
            if not (geometry.x <= x < geometry.x + geometry.width and geometry.y <= y < geometry.y + geometry.height):
                continue
            if window.get_full_property(aware, X.AnyPropertyType):
                return window
        except Xlib.error.XError:
            continue
    return None


def main():
    x, y, paths = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
    d = display.Display()
    root = d.screen().root
    atom = d.intern_atom
    uri_type = atom("text/uri-list")
    selection = atom("XdndSelection")
    copy = atom("XdndActionCopy")

    source = root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(selection, X.CurrentTime)
    # A window that was just shown or activated may take a moment to take drops.
    deadline = time.monotonic() + TIMEOUT
    target = target_at(d, root, x, y)
    while target is None and time.monotonic() < deadline:
        time.sleep(0.1)
        target = target_at(d, root, x, y)
    if target is None:
        print("no drop target at", x, y)
        return 2

    def send(name, data):
        event = protocol.event.ClientMessage(window=target, client_type=atom(name),
                                             data=(32, [source.id] + data + [0] * (4 - len(data))))
        target.send_event(event)
        d.flush()

    def answer(event):
        """Gives the file list to whoever asks for the selection."""
        if event.target == uri_type:
            event.requestor.change_property(event.property, uri_type, 8, uri_list(paths))
            prop = event.property
        else:
            prop = X.NONE
        reply = protocol.event.SelectionNotify(time=event.time, requestor=event.requestor, selection=event.selection,
                                               target=event.target, property=prop)
        event.requestor.send_event(reply)
        d.flush()

    def wait_for(name):
        wanted = atom(name)
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            while d.pending_events():
                event = d.next_event()
                if event.type == X.SelectionRequest:
                    answer(event)
                elif event.type == X.ClientMessage and event.client_type == wanted:
                    return event
            time.sleep(0.005)
        return None

    send("XdndEnter", [5 << 24, uri_type, 0, 0])
    send("XdndPosition", [0, (x << 16) | y, X.CurrentTime, copy])
    status = wait_for("XdndStatus")
    if status is None:
        print("no answer from the drop target")
        return 2
    if not status.data[1][1] & 1:
        send("XdndLeave", [0])
        print("refused")
        return 1
    send("XdndDrop", [0, X.CurrentTime])
    if wait_for("XdndFinished") is None:
        print("the drop never finished")
        return 2
    print("accepted")
    return 0


if __name__ == "__main__":
    sys.exit(main())
