"""The menu: placed and sized as stored, opens the continuous-run exercise in dialog mode, refuses
clicks while the exercise is open, and ends the program with 0 when closed."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from trainer import Trainer  # noqa: E402


def main():
    with Trainer() as t:
        menu = t.wait_menu()
        assert menu[1:5] == (50, 50, 994, 491), menu
        win = t.open_exercise("长动")
        assert t.find_window((1246, 758))[1:3] == (50, 50)
        # The menu is disabled: a click on another of its buttons opens nothing.
        t.click_at(50 + 40 + 48, 50 + 40 + 24)  # "电路点动"
        time.sleep(1.0)
        assert t.find_window(t.form("JogExercise").size) is None, "menu took a click"
        t.close(win)
        # Back in the menu, the same button works again.
        jog = t.open_exercise("点动")
        t.close(jog)
        code = t.quit()
        assert code == 0, "exit code %r" % code


if __name__ == "__main__":
    main()
