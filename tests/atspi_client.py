#!/usr/bin/python3
# Reads a running program's windows as a screen reader does, through the accessibility bus
# (AT-SPI), and works its controls the same way.
#
#   atspi_client.py APP tree               every showing control: window, role and name, a line each
#   atspi_client.py APP text ROLE NAME     the text of the control with that role and name
#   atspi_client.py APP set NAME TEXT      replaces the text of the text box called NAME
#   atspi_client.py APP press ROLE NAME    does the first action of the control with that role and name
#
# Exits with 3 when the program or the control is not there (yet).
import sys

import pyatspi


def controls(node):
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from controls(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def find(app, role, name):
    # A control of a window on the screen first; menu items are found while their menu is
    # closed, as a screen reader's list of menus finds them.
    found = [n for n in controls(app) if n.getRoleName() == role and n.name == name]
    if not found:
        sys.exit(3)
    return next((n for n in found if showing(n)), found[0])


def main(name, command, *arguments):
    programs = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == name]
    if not programs:
        sys.exit(3)
    app = programs[0]
    if command == "tree":
        for window in app:
            if window is None or not showing(window):
                continue
            for node in controls(window):
                if showing(node):
                    print(f"{window.name}\t{node.getRoleName()}\t{node.name}")
    elif command == "text":
        print(find(app, arguments[0], arguments[1]).queryText().getText(0, -1))
    elif command == "set":
        find(app, "text", arguments[0]).queryEditableText().setTextContents(arguments[1])
    elif command == "press":
        find(app, arguments[0], arguments[1]).queryAction().doAction(0)
    sys.stdout.flush()


if __name__ == "__main__":
    main(*sys.argv[1:])
