"""The Windows edition as Windows UI tests and screen readers see it, through the MSAA probe
(probe.exe under wine), and done with the keyboard alone: window titles, the menu disabled while
an exercise is open, accessible names (menu buttons by caption, terminals by terminal name, the
check box 修改线) and states, Tab order, an arrow key, then the continuous-run circuit wired,
powered and started with Tab and Space (green status), the check box ticked and unticked by Space."""
import os
import time

from test_e2e_access import MENU, SEEN, Keyboard, Probe, coloured, wait_until, wire_by_keys
from trainer import WINE, Trainer

PROBE_EXE = os.path.join(os.environ.get("WT_WIN_DIR", "build-win"), "tests", "probe.exe")


def titles(probe):
    return {w["title"]: w for w in probe.ask(cmd="windows")["windows"]}


def main():
    with Trainer() as t:
        menu = t.wait_menu(30)
        probe = Probe(t, [WINE, PROBE_EXE])
        assert "电机控制接线实训" in titles(probe), titles(probe)
        buttons = {c["name"]: c for c in probe.showing() if c["role"] == "push button"}
        assert sorted(buttons) == sorted(MENU.values()), sorted(buttons)
        assert all(b["enabled"] and b["window"] == "电机控制接线实训" for b in buttons.values())

        keys = Keyboard(t, probe, menu[0])
        assert keys.round_from("电路点动") == list(MENU.values()), keys.order
        keys.press("电路长动")
        window = "ContinuousRunExercise"
        exercise = t.wait_opened(window)
        # The edition disables the menu as the exercise opens; wine reports it a moment later.
        wait_until(t, lambda: "电路长动" in titles(probe), "the exercise's title")
        wait_until(t, lambda: not titles(probe)["电机控制接线实训"]["enabled"],
                   "the menu refusing input during the exercise")
        baseline = t.screenshot()

        for name in SEEN:
            c = probe.named(name)
            assert c["window"] == "电路长动" and c["enabled"], c
        toggle = probe.named("修改线")
        assert toggle["role"] == "check box" and not toggle["checked"], toggle

        keys = Keyboard(t, probe, exercise[0])
        assert keys.round_from("QS 电源开关")[:7] == ["QS 电源开关", "a1", "a2", "a3", "a4", "f1",
                                                     "f2"], keys.order
        keys.go("a1")
        keys.keys("Down")
        moved = probe.focus()
        assert moved in keys.order and moved != "a1", "Down from a1 went to %r" % moved

        keys.press("修改线")
        wait_until(t, lambda: probe.named("修改线")["checked"], "修改线 ticked by Space")
        keys.keys("space")
        wait_until(t, lambda: not probe.named("修改线")["checked"], "修改线 unticked by Space")

        wire_by_keys(t, keys, window, baseline)
        keys.press("QS 电源开关")
        time.sleep(0.4)
        keys.press("SB2 启动")
        wait_until(t, lambda: coloured(t.screenshot(), t.rect(window, "标签39"), "green") > 20,
                   "the green status text")
        assert probe.named("电机启动中")["role"] == "label", "the status text is not readable"
        keys.press("SB1 停止")
        wait_until(t, lambda: coloured(t.screenshot(), t.rect(window, "标签39"), "red") > 20,
                   "the red status text")

        t.close(window)
        wait_until(t, lambda: titles(probe)["电机控制接线实训"]["enabled"], "the menu enabled again")
        memory = probe.ask(cmd="memory")
        print("working set %.1f MiB, peak %.1f MiB" % (int(memory["working_set"]) / 2**20,
                                                       int(memory["peak_working_set"]) / 2**20))
        probe.close()
        assert t.quit() == 0


if __name__ == "__main__":
    main()
