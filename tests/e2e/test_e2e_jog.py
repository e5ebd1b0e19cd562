"""Jog: wire, power on, hold the jog push-button (the motor animates while held, green text),
release (it stops, red text), power off, remove a wire, be refused, reopen without wires."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import changed_share  # noqa: E402
from walk import Trainer, Walk, finish, menu_refuses_clicks  # noqa: E402

WIRING = "a1 b1 a2 b2 a3 b3 w1 a4 f1 f2 e5 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 w2 sb1 sb2 e4"


def main():
    with Trainer() as t:
        t.wait_menu()
        w = Walk(t, "点动", WIRING, motor="图片框5", prompt="标签1")
        w.open()
        menu_refuses_clicks(t)
        w.wire_everything()
        w.power()
        t.mouse_down(w.window, "按钮1")
        w.expect_running("pressing the jog button")
        t.mouse_up()
        w.expect_stopped("releasing the jog button")
        w.power()
        w.remove("c2", "c2线")
        # The press hands the check to a start thread; its box leaves the window usable: the
        # release is served while the box is open ("已断电" becomes "电机停止", both red).
        prompt = w.rect("标签1")
        before = t.screenshot(prompt).region((0, 0, prompt[2], prompt[3]))
        t.mouse_down(w.window, "按钮1")
        box = t.wait_title("^信息：")
        t.mouse_up()
        time.sleep(0.4)
        after = t.screenshot(prompt).region((0, 0, prompt[2], prompt[3]))
        assert t.titled("^信息：") == box, "the box closed by itself"
        assert changed_share(before, after) > 0.01, "the release waited for the start thread's box"
        assert w.status("red"), "no red status text after the release"
        t.press_ok(box)
        w.close_and_reopen_shows_no_wires()
        finish(t)


if __name__ == "__main__":
    main()
