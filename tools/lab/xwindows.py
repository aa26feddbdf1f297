#!/usr/bin/python3
"""Prints "x y width height" of every mapped top-level window of the X display named by DISPLAY."""
from Xlib import X, display

d = display.Display()
for child in d.screen().root.query_tree().children:
    try:
        if child.get_attributes().map_state != X.IsViewable:
            continue
        g = child.get_geometry()
    except Exception:
        continue
    print(g.x, g.y, g.width, g.height)
