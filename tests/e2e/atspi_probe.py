"""Reads the program's accessibility tree over AT-SPI for the end-to-end tests.

Runs under /usr/bin/python3 (pyatspi comes from Debian) with the test's session bus in its
environment, as a small server: one JSON command per line on stdin, one JSON answer per line on
stdout. Commands:
  {"cmd": "controls"}             every object of the program: role, name, description, states
  {"cmd": "focus"}                the object that has the keyboard focus (or null)
  {"cmd": "press", "name": N}     the first action ("Press") of the showing object named N
"""
import json
import sys

import pyatspi


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and "wiring" in (a.name or ""):
            return a
    return None


def walk(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def describe(node):
    states = node.getState()
    return {
        "role": node.getRoleName(),
        "name": node.name or "",
        "description": node.description or "",
        "showing": states.contains(pyatspi.STATE_SHOWING),
        "focused": states.contains(pyatspi.STATE_FOCUSED),
        "actions": [node.queryAction().getName(i) for i in range(node.queryAction().nActions)]
        if "Action" in pyatspi.listInterfaces(node) else [],
    }


def answer(cmd):
    a = app()
    if a is None:
        return {"error": "program not on the accessibility bus"}
    if cmd["cmd"] == "controls":
        return {"controls": [describe(n) for n in walk(a)]}
    if cmd["cmd"] == "focus":
        for n in walk(a):
            s = n.getState()
            if s.contains(pyatspi.STATE_FOCUSED) and s.contains(pyatspi.STATE_SHOWING):
                return {"focus": describe(n)}
        return {"focus": None}
    if cmd["cmd"] == "press":
        for n in walk(a):
            if n.name == cmd["name"] and n.getState().contains(pyatspi.STATE_SHOWING):
                n.queryAction().doAction(0)
                return {"pressed": describe(n)}
        return {"error": "no showing object named %s" % cmd["name"]}
    return {"error": "unknown command"}


def main():
    for line in sys.stdin:
        try:
            reply = answer(json.loads(line))
        except Exception as e:  # report, keep serving
            reply = {"error": repr(e)}
        sys.stdout.write(json.dumps(reply, ensure_ascii=False) + "\n")
        sys.stdout.flush()


if __name__ == "__main__":
    main()
