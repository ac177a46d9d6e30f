#!/usr/bin/python3
"""Reads the main window of a running tessary through AT-SPI, as a screen
reader does, and checks what it would hear: six page tabs, the current one
selected, and a name for every control that takes the focus, no two alike.

    atspi_names.py

Prints one line per finding and exits 1 when a check fails."""

import sys

import pyatspi


def walk(node, depth=0):
    """Every object below `node`, itself first."""
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def main():
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [a for a in desktop if a is not None and a.name == "tessary"]
    if not apps:
        print("not ok - no application named tessary on the AT-SPI bus")
        return 1
    frames = [f for f in apps[0]
              if f.getRole() == pyatspi.ROLE_FRAME and f.name == "Tessary"]
    if not frames:
        print("not ok - no frame named Tessary")
        return 1
    failed = False
    tabs = [n for n in walk(frames[0]) if n.getRole() == pyatspi.ROLE_PAGE_TAB]
    names = [t.name for t in tabs]
    selected = [t.name for t in tabs
                if t.getState().contains(pyatspi.STATE_SELECTED)]
    print(f"page tabs: {names}, selected: {selected}")
    if len(tabs) != 6 or len(selected) != 1:
        print("not ok - six page tabs, one of them selected")
        failed = True
    seen = {}
    for node in walk(frames[0]):
        states = node.getState()
        if not states.contains(pyatspi.STATE_FOCUSABLE):
            continue
        role = node.getRoleName()
        # Entries of lists and trees are named by what they show; the line
        # of an editable list is heard as the list itself.
        parent = node.parent
        inside_list = parent is not None and \
            parent.getRole() == pyatspi.ROLE_COMBO_BOX
        if role in ("menu item", "menu", "menu bar", "page tab", "table cell",
                    "list item", "tree item") or inside_list:
            continue
        name = node.name.strip()
        if not name:
            print(f"not ok - a {role} without a name")
            failed = True
        elif name in seen:
            print(f"not ok - a {role} and a {seen[name]} both named {name!r}")
            failed = True
        else:
            seen[name] = role
    print(f"{len(seen)} focusable controls named, for instance: "
          + ", ".join(f"{n} ({r})" for n, r in list(seen.items())[:8]))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
