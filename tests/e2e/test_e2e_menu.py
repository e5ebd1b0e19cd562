"""The menu: placed and sized as stored, opens the continuous-run exercise in dialog mode, refuses
clicks and a window manager's close while the exercise is open, is drawn in the new style once
the exercise has closed, and ends the program with 0 when closed."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import Trainer, changed_share  # noqa: E402

MENU = (994, 491)


def main():
    with Trainer() as t:
        menu = t.wait_menu()
        assert menu[1:5] == (50, 50) + MENU, menu
        button = t.form("ExerciseMenu").rect("长动")
        time.sleep(0.3)
        classic = t.screenshot().region(button)
        assert changed_share(classic, [classic[0]] * len(classic)) > 0.05, "menu button not drawn"

        win = t.open_exercise("长动")  # the button captioned "电路长动"
        exercise = t.find_window((1246, 758))
        assert exercise[1:3] == (50, 50), exercise

        # The exercise covers the menu; raised, the disabled menu still opens nothing.
        t.raise_window(menu[0])
        r, g, b = t.screenshot().pixel(50 + 20, 50 + 250)  # the menu's dark blue gradient
        assert b > r + 40 and b > g, "menu not raised: %r" % ((r, g, b),)
        t.click("ExerciseMenu", "点动")
        time.sleep(0.8)
        assert t.find_window(t.form("JogExercise").size) is None, "menu took a click"
        # Nor does it close while the exercise is open.
        t.wm_close(menu[0])
        time.sleep(0.5)
        assert t.find_window(MENU) is not None, "menu closed while an exercise was open"
        t.raise_window(exercise[0])

        t.close(win)
        time.sleep(0.3)
        themed = t.screenshot().region(button)
        assert changed_share(classic, themed) > 0.02, "menu not redrawn in visual style 1"

        # Back in the menu, a button works again.
        jog = t.open_exercise("点动")
        t.close(jog)
        code = t.quit()
        assert code == 0, "exit code %r" % code


if __name__ == "__main__":
    main()
