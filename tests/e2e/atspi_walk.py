#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Walks the accessibility tree of the running program through AT-SPI, as a screen reader
# does: every control that can take the focus must have a name. Also checks that the
# named controls are there. usage: atspi_walk.py APPLICATION-NAME
import sys
import time

import pyatspi

WANTED = ["Search", "Toggle Search", "Pictures", "First record", "Prior record",
          "Next record", "Last record", "Zoom In", "Best Fit Image"]


def find_application(name, seconds=60):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    return None


def walk(node, depth, found):
    if node is None or depth > 60:
        return
    found.append(node)
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1, found)


def main():
    app = find_application(sys.argv[1])
    if app is None:
        print("the program did not appear on the accessibility bus")
        return 1
    # The main window is filled once it has been activated.
    nodes = []
    for _ in range(60):
        nodes = []
        walk(app, 0, nodes)
        if any(n.name == "Pictures" for n in nodes):
            break
        time.sleep(0.5)
    unnamed = []
    names = set()
    for n in nodes:
        states = n.getState()
        names.add(n.name)
        if (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)
                and not n.name.strip()):
            unnamed.append("%s (%s)" % (n.getRoleName(), n.description))
    print("walked %d objects" % len(nodes))
    missing = [w for w in WANTED if w not in names]
    for u in unnamed:
        print("focusable without a name:", u)
    for m in missing:
        print("no control named", m)
    return 1 if unnamed or missing or len(nodes) < 20 else 0


sys.exit(main())
