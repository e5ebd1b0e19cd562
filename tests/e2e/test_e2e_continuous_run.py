"""Continuous run: wire, power on, start (green "电机启动中", animation), stop (red), power off,
remove a wire, be refused, reopen without wires."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from walk import Trainer, Walk, finish, menu_refuses_clicks  # noqa: E402

WIRING = ("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 "
          "sb2 sb4 c4 sb4 w2 sb3 b4")


def main():
    with Trainer() as t:
        t.wait_menu()
        w = Walk(t, "长动", WIRING, motor="图片框7", prompt="标签39")
        w.open()
        menu_refuses_clicks(t)
        w.wire_everything()
        w.power()
        t.click(w.window, "按钮开")
        w.expect_running("start")
        t.click(w.window, "按钮关")
        w.expect_stopped("stop")
        w.power()
        w.remove("a1", "a1线")
        w.refused("按钮开")
        w.close_and_reopen_shows_no_wires()
        finish(t)


if __name__ == "__main__":
    main()
