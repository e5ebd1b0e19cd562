"""The double-interlock exercise, click by click: a start with only the first check group's
terminals marked is refused with a message box; then the whole circuit is wired, the motor runs
forward and in reverse (the contactor pictures swap, the motor box animates, the edit-wire check
box keeps its tick), stops, and the wiring is gone after reopening."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reversing import animates, has_colour, still, region, same_picture, shown_wires  # noqa: E402
from reversing import remove_mode_ticked, toggle_remove_mode, visible_wires  # noqa: E402
from trainer import Trainer  # noqa: E402

# Each M end before its C end; c1 before d1 before g4; sb6 marked through its latch before sb2
# needs it; sb4 clicked three times (mark, latch, mark) before sb2.
FULL_WIRING = ("a1 b1 a2 b2 a3 b3 a4 f1 w1 h2 h3 h4 c1 d1 g4 c2 d2 c3 d3 g3 g2 e1 e2 e3 m1 "
               "f2 e5 c5 s1 s2 b4 s4 sb3 h5 sb5 g1 s3 w3 w2 h1 w4 b5 sb0 e4 sb4 c4 sb4 sb4 sb6 "
               "sb2 g5 sb6")


def main():
    started = time.time()
    with Trainer() as t:
        t.wait_menu()
        win = t.open_exercise("三重互锁")
        wires = visible_wires(t.form(win))
        fresh = t.screenshot()  # every wire hidden: the baseline of the wire checks

        t.click_all(win, "a1 a2 a3 a4")  # check group 1 complete, group 2 not
        t.click(win, "透明标签1")  # power on
        t.click(win, "按钮2")
        t.press_ok(t.wait_title("^信息："))
        t.click(win, "透明标签1")  # power off

        t.click_all(win, FULL_WIRING)
        time.sleep(0.3)
        missing = wires - shown_wires(t, win, fresh, t.screenshot())
        assert not missing, "wires not shown: %s" % sorted(missing)

        t.click(win, "透明标签1")  # power on
        time.sleep(0.3)
        powered = t.screenshot()
        assert has_colour(region(t, win, powered, "标签2"), "green"), "no green power-on text"

        t.click(win, "按钮2")  # forward: KM1 pulls in
        time.sleep(0.4)
        forward = t.screenshot()
        assert has_colour(region(t, win, forward, "标签2"), "green"), "no green forward text"
        assert not same_picture(t, win, powered, forward, "图片框2"), "KM1 not pulled in"
        assert same_picture(t, win, powered, forward, "图片框4"), "KM2 not released"
        assert animates(t, win, "图片框6"), "motor box does not animate forward"

        toggle_remove_mode(t, win)  # a start leaves the tick in place
        time.sleep(0.2)
        ticked = t.screenshot()
        assert not remove_mode_ticked(t, win, forward)
        assert remove_mode_ticked(t, win, ticked), "check box not ticked"
        t.click(win, "按钮3")  # reverse, straight from forward: the contactors swap
        time.sleep(0.4)
        reverse = t.screenshot()
        assert remove_mode_ticked(t, win, reverse), "the start unticked the box"
        toggle_remove_mode(t, win)
        assert has_colour(region(t, win, reverse, "标签2"), "green"), "no green reverse text"
        assert same_picture(t, win, powered, reverse, "图片框2"), "KM1 not released"
        assert not same_picture(t, win, powered, reverse, "图片框4"), "KM2 not pulled in"
        assert animates(t, win, "图片框6"), "motor box does not animate in reverse"

        t.click(win, "按钮1")  # stop
        time.sleep(0.4)
        stopped = t.screenshot()
        assert has_colour(region(t, win, stopped, "标签2"), "red"), "no red stop text"
        assert still(t, win, "图片框6"), "motor box still animates after the stop"
        assert same_picture(t, win, powered, stopped, "图片框4")

        t.close(win)
        win = t.open_exercise("三重互锁")
        assert shown_wires(t, win, fresh, t.screenshot()) == set(), "wires after reopening"
        t.close(win)
        code = t.quit()
        assert code == 0, "exit code %r" % code
    assert time.time() - started < 60, "took %.1f s" % (time.time() - started)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
