"""The forward/reverse exercise, click by click: wire the whole circuit, close the power switch,
run the motor forward and then in reverse (the two contactor pictures swap, the motor box
animates), stop, remove a wire in remove mode, see the refused start leave remove mode, and find
the wiring gone after reopening."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from reversing import animates, has_colour, still, region, same_picture, shown_wires  # noqa: E402
from reversing import remove_mode_ticked, toggle_remove_mode, visible_wires  # noqa: E402
from trainer import Trainer  # noqa: E402

WINDOW = "ForwardReverseExercise"
# Each M end before its C end; sb5 and sb6 marked through their latches before g4 and sb2 need
# them; sb4 clicked three times (mark, latch, mark) before sb2.
FULL_WIRING = ("a1 b1 a2 b2 a3 b3 a4 f1 w1 g1 g2 g3 c1 d1 c2 d2 c3 d3 h3 h2 h1 e1 e2 e3 m1 f2 e5 "
               "h5 b4 sb3 sb5 g4 c5 sb5 sb1 e4 w3 w2 g5 w4 b5 sb4 c4 sb4 sb4 sb6 sb2 h4 sb6")


def main():
    started = time.time()
    with Trainer() as t:
        t.wait_menu()
        win = t.open_exercise("正反转电路")
        wires = visible_wires(t.form(win))
        fresh = t.screenshot()  # every wire hidden: the baseline of the wire checks

        t.click_all(win, FULL_WIRING)
        time.sleep(0.3)
        missing = wires - shown_wires(t, win, fresh, t.screenshot())
        assert not missing, "wires not shown: %s" % sorted(missing)

        t.click(win, "透明标签1")  # power on
        time.sleep(0.3)
        powered = t.screenshot()
        assert has_colour(region(t, win, powered, "标签3"), "green"), "no green power-on text"

        t.click(win, "按钮2")  # forward: KM1 pulls in
        time.sleep(0.4)
        forward = t.screenshot()
        assert has_colour(region(t, win, forward, "标签3"), "green"), "no green forward text"
        assert not same_picture(t, win, powered, forward, "图片框2"), "KM1 not pulled in"
        assert same_picture(t, win, powered, forward, "图片框4"), "KM2 not released"
        assert animates(t, win, "图片框5"), "motor box does not animate forward"

        t.click(win, "按钮3")  # reverse, straight from forward: the contactors swap
        time.sleep(0.4)
        reverse = t.screenshot()
        assert has_colour(region(t, win, reverse, "标签3"), "green"), "no green reverse text"
        assert same_picture(t, win, powered, reverse, "图片框2"), "KM1 not released"
        assert not same_picture(t, win, powered, reverse, "图片框4"), "KM2 not pulled in"
        assert not same_picture(t, win, forward, reverse, "图片框5"), "same motor picture"
        assert animates(t, win, "图片框5"), "motor box does not animate in reverse"

        t.click(win, "按钮1")  # stop
        time.sleep(0.4)
        stopped = t.screenshot()
        assert has_colour(region(t, win, stopped, "标签3"), "red"), "no red stop text"
        assert still(t, win, "图片框5"), "motor box still animates after the stop"
        assert same_picture(t, win, powered, stopped, "图片框2")
        assert same_picture(t, win, powered, stopped, "图片框4")

        t.click(win, "透明标签1")  # power off: the wiring can be changed again
        toggle_remove_mode(t, win)
        t.click(win, "a1")
        time.sleep(0.3)
        removed = t.screenshot()
        left = shown_wires(t, win, fresh, removed)
        assert left == wires - {"a1线"}, "removed: %s" % sorted(wires - left)
        assert remove_mode_ticked(t, win, removed)

        t.click(win, "透明标签1")  # power on
        t.click(win, "按钮2")  # refused, and back in connect mode
        t.press_ok(t.wait_title("^信息："))
        time.sleep(0.2)
        assert not remove_mode_ticked(t, win, t.screenshot()), "the start left the box ticked"

        t.close(win)
        win = t.open_exercise("正反转电路")
        assert shown_wires(t, win, fresh, t.screenshot()) == set(), "wires after reopening"
        t.close(win)
        code = t.quit()
        assert code == 0, "exit code %r" % code
    assert time.time() - started < 60, "took %.1f s" % (time.time() - started)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main()
