"""The multi-location exercise, click by click: wire the whole circuit, close the power switch,
start from each of the three start push-buttons (the motor box animates, the status text is
green) and stop from the stop push-buttons (red text, the motor box still), remove a wire in
remove mode, see the start refused with a4 unmarked, and find the wiring gone after reopening."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import MOTION_SHARE, Trainer, changed_share  # noqa: E402

WINDOW = "MultiLocationExercise"
# Every terminal once, each M end before its C end; c4 before s6 and s6 before s4 draw the loop
# of the start push-buttons (groups 23 and 22), s4 before s2 and s2 before sb5 the rest.
FULL_WIRING = ("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e5 sb2 e4 sb4 sb1 "
               "sb6 sb3 w2 s1 s3 s5 b4 c4 s6 s4 s2 sb5")
STARTS = ("按钮1", "按钮3", "按钮5")  # SB4, SB5, SB6
STOPS = ("按钮2", "按钮4", "按钮6")  # SB1, SB2, SB3


def region(t, img, control):
    return img.region(t.form(WINDOW).rect(control))


def has_colour(pixels, want):
    """Some pixels of the status text in pure red or pure green."""
    def match(p):
        r, g, b = p
        return (g > 160 and r < 90 and b < 90) if want == "green" else \
               (r > 160 and g < 90 and b < 90)
    return sum(1 for p in pixels if match(p)) >= 20


def animates(t, control):
    return t.motion(WINDOW, control) >= MOTION_SHARE


def toggle_remove_mode(t):
    # The check box has no caption: click its indicator at the left end.
    x, y, w, h = t.form(WINDOW).rect("选择框")
    t.click_at(x + 8, y + h // 2)


def main():
    started = time.time()
    with Trainer() as t:
        t.wait_menu()
        win = t.open_exercise("按钮1")
        form = t.form(win)
        fresh = t.screenshot()  # every wire hidden: the baseline of the wire checks

        t.click_all(win, FULL_WIRING)
        time.sleep(0.3)
        missing = set(form.wires()) - set(t.shown_wires(fresh, t.screenshot(), win))
        assert not missing, "wires not shown: %s" % sorted(missing)

        t.click(win, "透明标签1")  # power on
        time.sleep(0.3)
        powered = t.screenshot()
        assert has_colour(region(t, powered, "标签1"), "green"), "no green power-on text"

        # Start from SB5, stop from SB3; then each start with the stop next to it.
        for start, stop in [("按钮3", "按钮6")] + list(zip(STARTS, STOPS)):
            t.click(win, start)
            time.sleep(0.4)
            running = t.screenshot()
            assert has_colour(region(t, running, "标签1"), "green"), "no green text: " + start
            assert changed_share(region(t, powered, "图片框2"),
                                 region(t, running, "图片框2")) > 0.005, "contactor: " + start
            assert animates(t, "图片框6"), "motor box does not animate after " + start

            t.click(win, stop)
            time.sleep(0.4)
            stopped = t.screenshot()
            assert has_colour(region(t, stopped, "标签1"), "red"), "no red text: " + stop
            assert changed_share(region(t, powered, "图片框2"),
                                 region(t, stopped, "图片框2")) < 0.002, "contactor: " + stop
            assert t.motion(WINDOW, "图片框6") == 0, "motor box still animates after " + stop

        t.click(win, "透明标签1")  # power off: the wiring can be changed again
        toggle_remove_mode(t)
        t.click(win, "a4")  # takes group 5 (a4线 a5线 a6线) and the flag of a4
        toggle_remove_mode(t)
        time.sleep(0.3)
        left = set(t.shown_wires(fresh, t.screenshot(), win))
        assert left == set(form.wires()) - {"a4线", "a5线", "a6线"}, \
            sorted(set(form.wires()) ^ left)

        t.click(win, "透明标签1")  # power on
        t.click(win, "按钮5")
        box = t.wait_title("^信息：")
        t.press_ok(box)

        t.close(win)
        win = t.open_exercise("按钮1")
        assert t.shown_wires(fresh, t.screenshot(), win) == [], "wires shown after reopening"
        t.close(win)
        code = t.quit()
        assert code == 0, "exit code %r" % code
    assert time.time() - started < 60, "took %.1f s" % (time.time() - started)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
