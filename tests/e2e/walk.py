"""The learner's walk through one exercise window, shared by the per-window tests: wire the whole
circuit click by click, check every wire shows, power on, start, see the motor animate and the
status text in colour, stop, power off, remove a wire, be refused with "信息：", close, reopen and
find no wires."""
import time

from trainer import MOTION_SHARE, Trainer



def coloured(img, rect, colour):
    """Pixels of the rectangle whose hue is clearly green or red."""
    count = 0
    for r, g, b in img.region(rect):
        if colour == "green" and g > 120 and g > r + 60 and g > b + 60:
            count += 1
        if colour == "red" and r > 120 and r > g + 60 and r > b + 60:
            count += 1
    return count


class Walk:
    def __init__(self, t, menu_button, wiring, motor, prompt):
        self.t = t
        self.menu_button = menu_button
        self.wiring = wiring
        self.motor = motor
        self.prompt = prompt
        self.window = None
        self.baseline = None

    def rect(self, control):
        return self.t.rect(self.window, control)

    def open(self):
        self.window = self.t.open_exercise(self.menu_button)
        return self.window

    def wire_everything(self):
        t = self.t
        self.baseline = t.screenshot()
        t.click_all(self.window, self.wiring)
        time.sleep(0.4)
        wires = t.form(self.window).wires()
        shown = t.shown_wires(self.baseline, t.screenshot(), self.window)
        missing = [w for w in wires if w not in shown]
        assert not missing, "wires not drawn after wiring: %s" % " ".join(missing)

    def power(self):
        self.t.click(self.window, "透明标签1")
        time.sleep(0.4)

    def motion(self):
        """Share of the motor box's pixels that clearly change between two looks 0.35 s apart."""
        return self.t.motion(self.window, self.motor)

    def status(self, colour):
        img = self.t.screenshot()
        return coloured(img, self.rect(self.prompt), colour) > 15

    def expect_running(self, what):
        time.sleep(0.5)
        share = self.motion()
        assert share >= MOTION_SHARE, "motor box hardly moves after %s: %.2f %%" % (what,
                                                                                100 * share)
        assert self.status("green"), "no green status text after " + what

    def expect_stopped(self, what):
        time.sleep(0.5)
        share = self.motion()
        assert share == 0, "motor box still moves after %s: %.2f %%" % (what, 100 * share)
        assert self.status("red"), "no red status text after " + what

    def remove(self, terminal, wire):
        t = self.t
        t.click(self.window, "选择框")
        t.click(self.window, terminal)
        t.click(self.window, "选择框")
        time.sleep(0.3)
        shown = t.shown_wires(self.baseline, t.screenshot(), self.window, [wire])
        assert not shown, wire + " still drawn after its removal"

    def refused(self, start_button):
        """A start with wiring missing raises a box titled "信息："; returns its screenshot."""
        t = self.t
        t.click(self.window, start_button)
        box = t.wait_title("^信息：")
        time.sleep(0.3)
        info = [w for w in t.windows() if int(w[0], 16) == int(box)]
        shot = t.screenshot(info[0][1:5]) if info else None
        t.press_ok(box)
        return shot

    def close_and_reopen_shows_no_wires(self):
        t = self.t
        t.close(self.window)
        self.open()
        # Under load the new window may take a moment to cover what the closed one left.
        shown = []

        def clean():
            shown[:] = t.shown_wires(self.baseline, t.screenshot(), self.window)
            return not shown

        try:
            t.wait_for(clean, 5.0, "the reopened window without wires")
        except TimeoutError:
            raise AssertionError("reopened window shows wires: %s" % " ".join(shown)) from None
        t.close(self.window)


def menu_refuses_clicks(t):
    """While an exercise window is open, a click on a menu button opens nothing. The exercise
    window covers the menu, so the menu is raised for the click and lowered again after it."""
    before = len(t.windows())
    menu = t.find_window((994, 491))
    exercise = [w for w in t.windows() if w[0] != menu[0] and w[3:5] != (994, 491)][0]
    t.raise_window(menu[0])
    t.click("ExerciseMenu", "点动")
    time.sleep(0.6)
    assert len(t.windows()) == before, "the menu took a click while an exercise was open"
    t.raise_window(exercise[0])


def finish(t):
    code = t.quit()
    assert code == 0, "exit code %r" % code


__all__ = ["Trainer", "Walk", "menu_refuses_clicks", "finish", "coloured"]
