"""The program on a real desktop (openbox, accessibility bus): the menu and an exercise window
carry the program's name and icon, the exercise window is titled after its menu button, a refused
start's message box answers with "确定" and is a dialog wide enough for its title, windows
read as frames named by their titles on the accessibility bus, a box destroyed from outside counts as answered, an
exercise window destroyed from outside counts as closed (the menu opens an exercise again), and
closing the menu ends the program with 0."""
import json
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import Trainer  # noqa: E402

NAME = "电机控制接线实训"
MENU = (994, 491)
RUN = (1246, 758)   # ContinuousRunExercise, opened by 长动 "电路长动"
JOG = (1159, 839)   # JogExercise, opened by 点动 "电路点动"
HERE = os.path.dirname(os.path.abspath(__file__))


def client(t, size, timeout=15.0):
    return t.wait_for(lambda: next((c for c in t.clients() if c[3:5] == size), None), timeout,
                      "a client window of %dx%d" % size)


def gone(t, size):
    t.wait_for(lambda: all(c[3:5] != size for c in t.clients()), 10.0, "%dx%d to go" % size)


def click(t, window, form, control):
    """Clicks a control of a managed window: its form offsets from the client's corner."""
    x, y, w, h = t.form(form).rect(control)
    t.click_at(window[1] + x - 50 + w // 2, window[2] + y - 50 + h // 2)


def icon_sizes(t, wid):
    out = t.run("xprop", "-id", wid, "_NET_WM_ICON", check=False)
    return {int(n) for n, m in re.findall(r"Icon \((\d+) x (\d+)\)", out) if n == m}


def atspi_windows(t):
    out = t.run("/usr/bin/python3", os.path.join(HERE, "atspi_tree.py"),
                os.path.basename(t.program), check=False)
    return [json.loads(line) for line in out.splitlines() if line.startswith("{")]


def main():
    with Trainer(screen="1920x1080", wm=True, atspi=True) as t:
        # Titles and icons: the menu has no title of its own, so the desktop shows the program's
        # name; an exercise window is named after its menu button, followed by the program's.
        menu = client(t, MENU)
        click(t, menu, "ExerciseMenu", "长动")
        run = client(t, RUN)
        # The menu carries the large sizes of the icon too, an exercise window those up to 64.
        for window, title, large in ((menu, NAME, True), (run, "电路长动 — " + NAME, False)):
            assert window[5] == title, "title %r, expected %r" % (window[5], title)
            sizes = icon_sizes(t, window[0])
            assert {16, 32, 48, 64} <= sizes and (max(sizes) >= 128) == large, \
                "icon sizes of %r: %r" % (title, sorted(sizes))
        time.sleep(0.3)

        # A refused start: the box's single button reads 确定, as the accessibility bus sees it.
        click(t, run, "ContinuousRunExercise", "按钮开")
        box = t.wait_for(lambda: next((c for c in t.clients() if c[5].startswith("信息：")), None),
                         10.0, "the refused start's box")
        assert box[5] == "信息： — " + NAME, box
        assert 16 in icon_sizes(t, box[0]), "message box without the program icon"
        seen = t.wait_for(lambda: [w for w in atspi_windows(t) if w["name"].startswith("信息：")],
                          15.0, "the box on the accessibility bus")
        assert seen[0]["buttons"] == ["确定"], seen
        # Windows read as frames named by their titles; the box as a dialog with the buttons of
        # one (no minimise or maximise function in its Motif hints) and its whole title's width.
        frames = {w["name"]: w["role"] for w in atspi_windows(t)}
        assert frames.get("电路长动") == "frame" and frames.get(NAME) == "frame", frames
        hints = t.run("xprop", "-id", box[0], "_MOTIF_WM_HINTS").split("=")[-1].split(",")
        assert int(hints[1], 16) & 0x18 == 0, "the box may be minimised or maximised: %r" % hints
        assert box[3] >= 220, "box %d px wide: too narrow for its title" % box[3]

        # A box destroyed from outside counts as answered: the exercise takes clicks again and
        # the next refused start raises a new box, answered with Return this time.
        for answer in ("destroy", "Return"):
            if answer == "destroy":
                t.run("xdotool", "windowclose", box[0])
            else:
                t.run("xdotool", "windowactivate", "--sync", box[0], check=False)
                t.run("xdotool", "key", "--window", box[0], "Return", check=False)
            t.wait_for(lambda: not any(c[5].startswith("信息：") for c in t.clients()), 10.0,
                       "the box to go (%s)" % answer)
            if answer == "destroy":
                time.sleep(0.3)
                click(t, run, "ContinuousRunExercise", "按钮开")
                box = t.wait_for(
                    lambda: next((c for c in t.clients() if c[5].startswith("信息：")), None),
                    10.0, "a second box")

        # Destroyed from outside, the exercise window counts as closed: the menu is usable.
        t.run("xdotool", "windowclose", run[0])
        gone(t, RUN)
        time.sleep(0.3)
        t.run("xdotool", "windowactivate", "--sync", menu[0], check=False)
        click(t, menu, "ExerciseMenu", "点动")
        jog = client(t, JOG)
        assert jog[5] == "电路点动 — " + NAME, jog
        t.wm_close(jog[0])
        gone(t, JOG)

        time.sleep(0.3)
        t.wm_close(menu[0])
        code = t.proc.wait(15)
        assert code == 0, "exit code %r" % code
        log = open(os.path.join(t.tmp, "program.log"), encoding="utf-8", errors="replace").read()
        assert "XCB error" not in log and "AddressSanitizer" not in log, log


if __name__ == "__main__":
    main()
