#!/usr/bin/env python3
"""Reads the running program through the desktop's accessibility bus, as a
screen reader does, and lists every object a pupil can reach or press whose
name is missing or not French. Prints the tree it read; exits 1 on a fault.

Run by atspi-check.sh, which starts the display, the session bus and the
program. Argument: how many seconds to wait for the program to appear."""
import re
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

ENGLISH = {
    "the", "and", "of", "button", "cancel", "open", "save", "close", "print", "printer", "help",
    "folder", "name", "look", "back", "forward", "new", "list", "detail", "view", "search", "find",
    "next", "previous", "up", "down", "line", "left", "right", "bottom", "clear", "apply", "yes",
    "copy", "paste", "undo", "redo", "delete", "contents", "settings", "color", "colour", "scroll",
    "drive", "directory", "size", "select", "all", "text", "edit", "value", "exercise", "calculator",
    "graph", "tab", "count",
}
ACTED_ON = {
    Atspi.Role.PUSH_BUTTON, Atspi.Role.CHECK_BOX, Atspi.Role.RADIO_BUTTON, Atspi.Role.COMBO_BOX,
    Atspi.Role.PAGE_TAB, Atspi.Role.SPIN_BUTTON, Atspi.Role.TEXT, Atspi.Role.ENTRY,
    Atspi.Role.MENU_ITEM, Atspi.Role.SCROLL_BAR, Atspi.Role.TABLE, Atspi.Role.LIST,
    Atspi.Role.TREE, Atspi.Role.TREE_TABLE,
}
CONTENT = {
    Atspi.Role.TABLE_CELL, Atspi.Role.LIST_ITEM, Atspi.Role.TREE_ITEM, Atspi.Role.TABLE_ROW,
    Atspi.Role.COLUMN_HEADER, Atspi.Role.ROW_HEADER, Atspi.Role.TABLE_COLUMN_HEADER,
    Atspi.Role.TABLE_ROW_HEADER,
}


def fault(name):
    text = name.strip()
    if not text:
        return "sans nom"
    if not re.search(r"[^\W\d_]", text) and not text.isdigit():
        return "un symbole, pas un nom"
    for word in re.split(r"[\W\d_]+", text.lower()):
        if word in ENGLISH:
            return "en anglais (%s)" % word
    return None


def walk(node, depth, faults, out):
    try:
        role = node.get_role()
        name = node.get_name() or ""
        states = node.get_state_set()
    except Exception:  # an object gone while walking
        return
    focusable = states.contains(Atspi.StateType.FOCUSABLE)
    # An unnamed scroll bar that takes no keyboard belongs to a list or a text.
    interactive = role not in CONTENT and (
        focusable or (role in ACTED_ON and role != Atspi.Role.SCROLL_BAR))
    description = node.get_description() or ""
    out.append("%s%s «%s»%s" % ("  " * depth, node.get_role_name(), name,
                                " — " + description if description else ""))
    if interactive and role != Atspi.Role.COMBO_BOX:
        why = fault(name)
        if why:
            faults.append("%s «%s»: %s" % (node.get_role_name(), name, why))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None and depth < 40:
            walk(child, depth + 1, faults, out)


def program(wait):
    deadline = time.time() + wait
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and (app.get_name() or "").startswith("molvane"):
                if app.get_child_count() > 0:
                    return app
        time.sleep(0.5)
    return None


def main():
    wait = float(sys.argv[1]) if len(sys.argv) > 1 else 20
    app = program(wait)
    if app is None:
        print("Le programme n'apparaît pas sur le bus d'accessibilité.")
        return 2
    faults, out = [], []
    walk(app, 0, faults, out)
    print("\n".join(out))
    print("\n%d objets lus, %d défauts" % (len(out), len(faults)))
    for f in faults:
        print("DÉFAUT: " + f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
