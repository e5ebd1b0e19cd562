"""Laptop and projector screens with a real window manager: on 1366x768 and 1280x800 every window
of the program opens wholly on the screen, frame included, smaller where it has to be; on the
first screen, where it is shown smaller, one exercise is wired, powered and started at its scaled positions."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import MENU_BUTTONS, fit_of  # noqa: E402
from walk import Trainer, Walk  # noqa: E402

WALKED = "ContinuousRunExercise"
WIRING = ("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 "
          "sb2 sb4 c4 sb4 w2 sb3 b4")
SCREENS = [("1366x768", True), ("1280x800", False)]  # screen, walk there


def on_screen(t, client, screen):
    left, right, top, bottom = t.frame_extents(client[0])
    x, y, w, h = client[1:5]
    return (x - left >= 0 and y - top >= 0 and x + w + right <= screen[0] and
            y + h + bottom <= screen[1])


def check(t, window, client, screen):
    stored = t.form(window).size
    scale = fit_of(stored, client[3:5])[0]
    wholly = on_screen(t, client, screen)
    print("%-24s %9s  client %4dx%-4d  scale %.3f  wholly visible %s" %
          (window, "x".join(map(str, screen)), client[3], client[4], scale, wholly), flush=True)
    assert wholly, "%s sticks out of the %dx%d screen: %r" % ((window,) + screen + (client,))
    if tuple(client[3:5]) != stored:
        # Scaled only when it had to be, and then uniformly.
        assert scale < 1, "%s shown at %r instead of %r" % (window, client[3:5], stored)
        assert abs(client[3] / stored[0] - client[4] / stored[1]) < 0.01, "aspect changed"


def walk(t, window):
    w = Walk(t, "长动", WIRING, motor="图片框7", prompt="标签39")
    w.window = window
    w.wire_everything()
    w.power()
    t.click(window, "按钮开")
    w.expect_running("start at scale %.3f" % fit_of(t.form(window).size, t.placed[window][3:5])[0])
    t.click(window, "按钮关")
    w.expect_stopped("stop")


def main():
    for screen_name, walk_here in SCREENS:
        screen = tuple(int(v) for v in screen_name.split("x"))
        with Trainer(screen=screen_name, wm=True) as t:
            menu = t.wait_client("ExerciseMenu")
            check(t, "ExerciseMenu", menu, screen)
            for button, window in MENU_BUTTONS.items():
                t.click("ExerciseMenu", button)
                client = t.wait_client(window)
                check(t, window, client, screen)
                if walk_here and window == WALKED:
                    walk(t, window)
                t.wm_close(client[0])
                t.wait_for(lambda: all(c[0] != client[0] for c in t.clients()), 10.0,
                           window + " to close")
                t.forget(window)
            t.wm_close(menu[0])
            assert t.proc.wait(15) == 0, "the program did not end cleanly"


if __name__ == "__main__":
    main()
