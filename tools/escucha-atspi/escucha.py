#!/usr/bin/python3
"""Counts the notices the program sends on the accessibility bus while it samples.

Run by `run` beside this file, inside a session bus and an X server of their own. Finds the
window through the bus, turns on the converters at each rate through the bus as a screen
reader user would, and prints what arrived per tick: all notices, and those of controls
that were not showing."""
import collections
import subprocess
import sys

import pyatspi
from gi.repository import GLib

PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "KORVALISTA"
SECONDS = float(sys.argv[2]) if len(sys.argv) > 2 else 5.0
RATES = [("Cada segundo", 1.0), ("Cada décima", 0.1)]

notices = []
counting = False


def listen(event):
    if not counting:
        return
    try:
        app = event.host_application.name
        if app != PROGRAM:
            return
        source = event.source
        showing = source.getState().contains(pyatspi.STATE_SHOWING)
        notices.append((event.type, source.name, showing))
    except Exception:  # a source gone meanwhile still counts as a notice
        notices.append((event.type, "?", False))


def find(node, name, role):
    if node is None:
        return None
    try:
        if node.name == name and node.getRole() == role:
            return node
        for child in node:
            found = find(child, name, role)
            if found is not None:
                return found
    except Exception:
        return None
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "press" in names:
        action.doAction(names.index("press"))
        return
    # A radio item only toggles through the bus, which picks no rate: the user's Space does.
    node.queryComponent().grabFocus()
    subprocess.run(["xdotool", "key", "space"], check=True)


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == PROGRAM:
            return app
    return None


def run():
    global counting
    app = program()
    if app is None:
        names = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
        print(f"no application named {PROGRAM!r} on the bus: {names}", file=sys.stderr)
        pyatspi.Registry.stop()
        return False
    inicio = find(app, "Inicio", pyatspi.ROLE_PUSH_BUTTON)
    steps = []
    for caption, period in RATES:
        steps.append((caption, period))

    def measure(index):
        global counting
        if index >= len(steps):
            pyatspi.Registry.stop()
            return False
        caption, period = steps[index]
        press(find(app, caption, pyatspi.ROLE_RADIO_BUTTON))
        if index == 0:
            press(inicio)

        def settle():
            global counting
            notices.clear()
            counting = True
            GLib.timeout_add(int(SECONDS * 1000), report, index, caption, period)
            return False

        # The first ticks write the fields once; the figure is the steady state after them.
        GLib.timeout_add(1500, settle)
        return False

    def report(index, caption, period):
        global counting
        counting = False
        ticks = SECONDS / period
        hidden = sum(1 for _, _, showing in notices if not showing)
        # By kind and showing: a hidden counter's name changes every tick.
        kinds = collections.Counter(
            f"{kind}{'' if showing else ' (not showing)'}" for kind, _, showing in notices)
        print(f"{caption}: {len(notices)} notices in {SECONDS:g} s, "
              f"{len(notices) / ticks:.1f} per tick, {hidden} from controls not showing")
        for line, count in kinds.most_common():
            print(f"  {count:5d}  {line}")
        GLib.idle_add(measure, index + 1)
        return False

    measure(0)
    return False


pyatspi.Registry.registerEventListener(
    listen, "object:property-change", "object:text-changed", "object:text-caret-moved",
    "object:state-changed", "object:children-changed", "object:visible-data-changed",
    "object:selection-changed", "object:active-descendant-changed", "focus:")
GLib.timeout_add(3000, run)
pyatspi.Registry.start()
