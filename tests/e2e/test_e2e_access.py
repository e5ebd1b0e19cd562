"""Keyboard and screen reader, end to end: what the accessibility bus (AT-SPI) tells about the
menu and the continuous-run window, the whole continuous-run exercise done with key presses
alone (wire, power, start, green status), the arrow keys, the focus mark on screen as a window
opens by keys, the focus back on the menu button after closing, a terminal pressed through
its accessibility action showing its wire, and the exercise window named by its title."""
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import Trainer  # noqa: E402
from walk import coloured  # noqa: E402

PROBE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_probe.py")
WIRING = ("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 "
          "sb2 sb4 c4 sb4 w2 sb3 b4")
MENU = {"点动": "电路点动", "长动": "电路长动", "长动加点动": "长动点动", "按钮1": "多地控制",
        "正反转电路": "正反转电路", "三重互锁": "双重互锁"}
SEEN = {  # accessible name -> description, continuous-run window
    "a1": "电源开关 QS，下端第1极",
    "b1": "接触器 KM，主触点，上端第1极",
    "w2": "接触器 KM，线圈，右端第2极",
    "sb3": "启动 SB2，左端",
    "SB2 启动": "按下启动电动机",
    "SB1 停止": "按下停止电动机",
    "QS 电源开关": "按下合上或断开电源",
    "修改线": "勾选后点击端子拆除导线",
}
YELLOW = (255, 214, 0)


class Probe:
    """The AT-SPI reader (atspi_probe.py) under Debian's python, on the test's session bus, or
    another reader with the same commands (the Windows edition's MSAA probe under wine)."""

    def __init__(self, t, command=None):
        self.proc = subprocess.Popen(command or ["/usr/bin/python3", PROBE], env=t.env,
                                     text=True, encoding="utf-8", stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE)

    def ask(self, **cmd):
        self.proc.stdin.write(json.dumps(cmd) + "\n")
        self.proc.stdin.flush()
        reply = json.loads(self.proc.stdout.readline())
        assert "error" not in reply, reply
        return reply

    def showing(self):
        return [c for c in self.ask(cmd="controls")["controls"] if c["showing"]]

    def named(self, name):
        found = [c for c in self.showing() if c["name"] == name]
        assert found, "nothing showing is named %r" % name
        return found[0]

    def focus(self):
        f = self.ask(cmd="focus")["focus"]
        return f["name"] if f else None

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(10)


def wait_until(t, predicate, what, timeout=10.0):
    t.wait_for(predicate, timeout, what)


class Keyboard:
    """Key presses only: Tab and Shift+Tab to a control (found by its accessible name), Space."""

    def __init__(self, t, probe, wid):
        self.t, self.probe = t, probe
        t.run("xdotool", "windowfocus", "--sync", wid)
        self.order = self.tab_order()

    def round_from(self, name):
        """The Tab order once round, starting at `name`."""
        i = self.order.index(name)
        return self.order[i:] + self.order[:i]

    def keys(self, *names):
        self.t.run("xdotool", "key", "--delay", "30", *names)

    def tab_order(self):
        """The names Tab visits, once round."""
        seen = []
        for _ in range(80):
            self.keys("Tab")
            name = self.probe.focus()
            if name in seen:
                return seen[seen.index(name):] + seen[:seen.index(name)]
            seen.append(name)
        raise AssertionError("Tab does not come round: %s" % seen)

    def go(self, name):
        here = self.order.index(self.probe.focus())
        there = self.order.index(name)
        n = len(self.order)
        ahead = (there - here) % n
        if ahead:
            if ahead <= n - ahead:
                self.keys(*["Tab"] * ahead)
            else:
                self.keys(*["shift+Tab"] * (n - ahead))
        # The keys may still be on their way (wine under load): the focus is given a moment.
        focus = None

        def arrived():
            nonlocal focus
            focus = self.probe.focus()
            return focus == name

        try:
            self.t.wait_for(arrived, 5.0, "the focus on " + name)
        except TimeoutError:
            raise AssertionError("focus on %r, wanted %r" % (focus, name)) from None

    def press(self, name):
        self.go(name)
        self.keys("space")


def wire_by_keys(t, keys, window, baseline):
    """Presses every terminal of the continuous-run wiring with Tab and Space; all wires show."""
    for terminal in WIRING.split():
        keys.press(terminal)
    time.sleep(0.4)
    missing = [w for w in t.form(window).wires()
               if w not in t.shown_wires(baseline, t.screenshot(), window)]
    assert not missing, "wires not drawn after wiring by keys: %s" % " ".join(missing)


def marked(img, rect):
    """Whether the focus mark's yellow ring shows inside the rectangle."""
    x, y, w, h = rect
    # Top and bottom edges: terminals may lie over a push-button's sides.
    ring = [img.pixel(x + w // 2, y + 2), img.pixel(x + w // 4, y + 3),
            img.pixel(x + w // 2, y + h - 3)]
    return all(abs(p[0] - YELLOW[0]) + abs(p[1] - YELLOW[1]) + abs(p[2] - YELLOW[2]) < 40 for p in ring)


def main():
    with Trainer(atspi=True) as t:
        menu = t.wait_menu()
        probe = Probe(t)
        wait_until(t, lambda: len([c for c in probe.showing() if c["role"] == "push button"]) == 6,
                   "the menu on the accessibility bus")

        # The menu: buttons named by their captions.
        buttons = {c["name"]: c for c in probe.showing() if c["role"] == "push button"}
        assert sorted(buttons) == sorted(MENU.values()), sorted(buttons)
        for caption in MENU.values():
            assert caption in buttons[caption]["description"], buttons[caption]
            assert "Press" in buttons[caption]["actions"], buttons[caption]

        # Keyboard only from here. The menu opens with the focus, and its mark, on the topmost
        # button; Down moves to the one below.
        t.run("xdotool", "windowfocus", "--sync", menu[0])
        wait_until(t, lambda: probe.focus() == "电路点动", "the focus on 电路点动")
        assert marked(t.screenshot(), t.form("ExerciseMenu").rect("点动")), "no mark on 电路点动"
        t.run("xdotool", "key", "Down")
        wait_until(t, lambda: probe.focus() == "电路长动", "Down to 电路长动")
        t.run("xdotool", "key", "Up")
        wait_until(t, lambda: probe.focus() == "电路点动", "Up to 电路点动")
        # Open the continuous-run exercise from the menu.
        keys = Keyboard(t, probe, menu[0])
        assert keys.round_from("电路点动") == ["电路点动", "电路长动", "长动点动", "多地控制", "正反转电路", "双重互锁"], \
            keys.order
        keys.press("电路长动")
        window = "ContinuousRunExercise"
        exercise = t.wait_window(t.form(window).size)
        time.sleep(0.3)
        # Opened by a key: the focus mark shows on the first control at once (no window manager
        # here to give the new window the keyboard).
        t.run("xdotool", "windowfocus", "--sync", exercise[0])
        wait_until(t, lambda: probe.focus() == "QS 电源开关", "the focus on the power switch")
        assert marked(t.screenshot(), t.form(window).rect("透明标签1")), "no mark on opening"
        t.run("xdotool", "key", "Down")
        wait_until(t, lambda: probe.focus() == "a4", "Down from the switch to a4")
        t.run("xdotool", "key", "Up")
        wait_until(t, lambda: probe.focus() == "QS 电源开关", "Up back to the switch")
        baseline = t.screenshot()

        # What the screen reader hears in the exercise window.
        for name, description in SEEN.items():
            c = probe.named(name)
            assert c["description"] == description, c
        assert probe.named("修改线")["role"] == "check box"

        keys = Keyboard(t, probe, exercise[0])
        assert keys.round_from("QS 电源开关")[:7] == ["QS 电源开关", "a1", "a2", "a3", "a4", "f1",
                                                     "f2"], keys.order
        wire_by_keys(t, keys, window, baseline)
        assert probe.named("b4")["description"].startswith("接触器 KM，辅助触点，上端。已连接："), \
            probe.named("b4")

        keys.press("QS 电源开关")
        time.sleep(0.4)
        keys.press("SB2 启动")
        wait_until(t, lambda: coloured(t.screenshot(), t.form(window).rect("标签39"), "green") > 20,
                   "the green status text")
        status = [c for c in probe.showing() if c["role"] == "label" and c["name"] == "电机启动中"]
        assert status, "the status label does not read 电机启动中"

        # The focus mark shows on the start button now; a mouse click leaves none.
        assert marked(t.screenshot(), t.form(window).rect("按钮开")), "no focus mark on 按钮开"
        t.click(window, "按钮关")
        time.sleep(0.4)
        shot = t.screenshot()
        assert not marked(shot, t.form(window).rect("按钮关")), "focus mark after a mouse click"
        assert coloured(shot, t.form(window).rect("标签39"), "red") > 20, "no red status after stop"
        t.close(window)
        # The focus is back on the button that opened the window (given the keyboard again by
        # hand: no window manager here).
        t.run("xdotool", "windowfocus", "--sync", menu[0])
        wait_until(t, lambda: probe.focus() == "电路长动", "the focus back on 电路长动")

        # Through the accessibility action: a1 then b1 pressed, the wire a1线 appears.
        window = t.open_exercise("点动")
        baseline = t.screenshot()
        probe.ask(cmd="press", name="a1")
        probe.ask(cmd="press", name="b1")
        time.sleep(0.4)
        shown = t.shown_wires(baseline, t.screenshot(), window)
        assert "a1线" in shown, shown
        assert probe.named("b1")["description"].endswith("已连接：a1线"), probe.named("b1")
        t.close(window)

        # The window is named by its title, which shows the menu button's caption.
        window = t.open_exercise("长动")
        frames = [c for c in probe.showing() if c["name"] == "电路长动" and c["role"] == "frame"]
        assert frames, "no window named 电路长动: %s" % [
            (c["role"], c["name"]) for c in probe.showing() if c["role"] in ("frame", "filler", "window")]
        t.close(window)

        probe.close()
        assert t.quit() == 0


if __name__ == "__main__":
    main()
