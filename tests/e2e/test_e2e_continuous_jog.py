"""Continuous run with jog: wire, power on, start and stop with the push-buttons, hold and release
the jog push-button, power off, remove a wire, be refused, reopen without wires."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from walk import Trainer, Walk, finish, menu_refuses_clicks  # noqa: E402

WIRING = ("a1 b1 a2 b2 a3 b3 w1 a4 f1 f2 e5 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 sb1 e4 "
          "w2 sb3 b4 c4 sb8 sb5 sb7 sb2 sb4 sb2 sb6 sb4")


def main():
    with Trainer() as t:
        t.wait_menu()
        w = Walk(t, "长动加点动", WIRING, motor="图片框9", prompt="标签3")
        w.open()
        menu_refuses_clicks(t)
        w.wire_everything()
        w.power()
        t.click(w.window, "按钮2")
        w.expect_running("start")
        t.click(w.window, "按钮1")
        w.expect_stopped("stop")
        t.mouse_down(w.window, "按钮3")
        w.expect_running("pressing the jog button")
        t.mouse_up()
        w.expect_stopped("releasing the jog button")
        w.power()
        w.remove("a1", "a1线")
        w.refused("按钮2")
        w.close_and_reopen_shows_no_wires()
        finish(t)


if __name__ == "__main__":
    main()
