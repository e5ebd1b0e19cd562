"""Prints the program's windows as the accessibility bus sees them, one JSON object per line:
{"role": ..., "name": ..., "buttons": [names of the push buttons inside]}. Run with the Debian
python (/usr/bin/python3, which has pyatspi) under the Trainer's environment (t.env)."""
import json
import sys

import pyatspi


def buttons(node, found, depth=0):
    if node is None or depth > 12:
        return found
    if node.getRole() == pyatspi.ROLE_PUSH_BUTTON:
        found.append(node.name)
    for i in range(node.childCount):
        buttons(node.getChildAtIndex(i), found, depth + 1)
    return found


def main(program):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != program:
            continue
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            print(json.dumps({"role": window.getRoleName(), "name": window.name,
                              "buttons": buttons(window, [])}, ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "wiring-trainer")
