"""The browser edition walked with real mouse events in headless Chromium: the continuous-run
and the forward/reverse exercise from wiring to the refused start and the reopened window, plus
the page's own duties (dialog mode, the message box that blocks the page, the themed look after
the first close, names for assistive technology, a jog push-button held by Space, the mouse and
touch)."""
import json
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp import Browser  # noqa: E402
from page import PAGE, Page, ctl, skip_unless, win  # noqa: E402

GREEN, RED = "rgb(0, 255, 0)", "rgb(255, 0, 0)"
MENU = "电机控制接线实训"
RUN_WIRING = ("a1 b1 a2 b2 a3 b3 w1 a4 f1 c1 d1 c2 d2 c3 d3 e1 e2 e3 m1 f2 e6 sb1 e5 "
              "sb2 sb4 c4 sb4 w2 sb3 b4")
REVERSING_WIRING = ("a1 b1 a2 b2 a3 b3 a4 f1 w1 g1 g2 g3 c1 d1 c2 d2 c3 d3 h3 h2 h1 e1 e2 e3 m1 "
                    "f2 e5 h5 b4 sb3 sb5 g4 c5 sb5 sb1 e4 w3 w2 g5 w4 b5 sb4 c4 sb4 sb4 sb6 sb2 "
                    "h4 sb6")


def continuous_run(p):
    b = p.b
    t = p.open_exercise("电路长动", "电路长动")
    # Dialog mode: the menu is inert; a click on an uncovered part of a menu button opens nothing.
    assert b.eval("%s.inert" % p.js(win(MENU))), "menu takes input while the exercise is open"
    button = '%s button[aria-label="电路点动"]' % win(MENU)
    x, y = _left_edge(p, button)
    r = p.q("(() => { const r = %s.getBoundingClientRect(); return [r.left, r.right, r.top, r.bottom]; })()"
            % p.js(win(t)))
    assert not (r[0] <= x < r[1] and r[2] <= y < r[3]), "the exercise window covers the menu button"
    before = p.titles()
    b.mouse("mousePressed", *_left_edge(p, button), 1)
    b.mouse("mouseReleased", *_left_edge(p, button), 0)
    time.sleep(0.3)
    assert p.titles() == before, "the menu opened a window in dialog mode: %s" % p.titles()

    wires = p.all_wires(t)
    assert wires and not p.shown_wires(t), "wires shown before wiring"
    p.click_all(t, RUN_WIRING)
    assert p.shown_wires(t) == wires, "not shown: %s" % sorted(wires - p.shown_wires(t))

    sounds = p.stats()["sounds"]
    b.click(ctl(t, "透明标签1"))  # power on
    assert p.stats()["sounds"] > sounds, "closing the switch played nothing"
    b.click(ctl(t, "按钮开"))
    assert p.status(t, "标签39") == ["电机启动中", GREEN], p.status(t, "标签39")
    # The program's own green keeps 3:1 against what surrounds its glyphs.
    assert float(b.eval("%s.dataset.contrast" % p.js(ctl(t, "标签39")))) >= 3
    assert p.animated(t, "图片框7") and p.animates_on_screen(t, "图片框7"), "motor not animating"
    b.click(ctl(t, "按钮关"))
    assert p.status(t, "标签39")[1] == RED, p.status(t, "标签39")
    assert not p.animated(t, "图片框7") and p.picture(t, "图片框7"), "motor not at rest"
    assert not p.animates_on_screen(t, "图片框7", tries=2), "motor box still moving after the stop"

    b.click(ctl(t, "透明标签1"))  # power off: wires may change again
    b.click(ctl(t, "选择框"))
    b.click(ctl(t, "a1"))
    b.click(ctl(t, "选择框"))
    assert p.shown_wires(t) == wires - {"a1线"}, "removal: %s" % sorted(wires - p.shown_wires(t))

    b.click(ctl(t, "按钮开"))
    assert p.wait_box() == ["信息：", "请连线", "确定"], p.box()
    # The box blocks the whole page until "确定".
    shown = p.shown_wires(t)
    assert p.hit(ctl(t, "a2"), 12) not in ("a2",), "a terminal takes clicks under the box"
    b.click("#wt-boxes")
    assert p.box() and p.shown_wires(t) == shown
    p.press_ok()

    assert p.stats()["style"] == 0, "themed before the first exercise closed"
    p.close(t)
    assert p.stats()["style"] == 1, "not themed after the first exercise closed"
    assert not b.eval("%s.inert" % p.js(win(MENU))), "menu still inert after the close"
    t = p.open_exercise("电路长动", "电路长动")
    assert not p.shown_wires(t), "reopened window shows wires: %s" % sorted(p.shown_wires(t))
    assert p.status(t, "标签39") is None, "reopened window shows a status"
    p.close(t)


def _left_edge(p, selector):
    r = p.q("(() => { const r = %s.getBoundingClientRect(); return [r.left + 5, r.top + r.height / 2]; })()"
            % p.js(selector))
    return r[0], r[1]


def forward_reverse(p, shots):
    b = p.b
    t = p.open_exercise("正反转电路", "正反转电路")
    wires = p.all_wires(t)
    p.click_all(t, REVERSING_WIRING)
    assert p.shown_wires(t) == wires, "not shown: %s" % sorted(wires - p.shown_wires(t))
    b.click(ctl(t, "透明标签1"))
    km1, km2 = p.shot(t, "图片框2"), p.shot(t, "图片框4")
    b.click(ctl(t, "按钮2"))  # forward
    assert p.status(t, "标签3") == ["电机正转", GREEN], p.status(t, "标签3")
    assert p.shot(t, "图片框2") != km1 and p.shot(t, "图片框4") == km2, "KM1 not pulled in alone"
    assert p.animates_on_screen(t, "图片框5"), "no forward animation"
    forward = p.picture(t, "图片框5")
    b.click(ctl(t, "按钮3"))  # reverse straight from forward
    assert p.status(t, "标签3") == ["电机反转", GREEN], p.status(t, "标签3")
    assert p.shot(t, "图片框2") == km1 and p.shot(t, "图片框4") != km2, "contactors not swapped"
    assert p.picture(t, "图片框5") != forward and p.animates_on_screen(t, "图片框5")
    if shots:
        b.screenshot(os.path.join(shots, "reversing.png"))
    b.click(ctl(t, "按钮1"))  # stop
    assert p.status(t, "标签3")[1] == RED and not p.animated(t, "图片框5")
    b.click(ctl(t, "透明标签1"))
    b.click(ctl(t, "选择框"))
    b.click(ctl(t, "a1"))
    assert p.shown_wires(t) == wires - {"a1线"}
    b.click(ctl(t, "透明标签1"))
    b.click(ctl(t, "按钮2"))
    title, text, ok = p.wait_box()
    assert title == "信息：" and text.startswith("请连线") and ok == "确定", (title, text, ok)
    p.press_ok()
    assert not b.eval("%s.checked" % p.js(ctl(t, "选择框") + " input")), "refused start left remove mode"
    p.close(t)
    t = p.open_exercise("正反转电路", "正反转电路")
    assert not p.shown_wires(t), "reopened window shows wires"
    p.close(t)


def ax_names(b):
    """Names by role, as assistive technology gets them from the browser's accessibility tree."""
    named = {}
    for node in b.call("Accessibility.getFullAXTree")["nodes"]:
        if not node.get("ignored"):
            role = node.get("role", {}).get("value")
            named.setdefault(role, set()).add(node.get("name", {}).get("value"))
    return named


def ax_described(b):
    """Descriptions by accessible name."""
    return {n.get("name", {}).get("value"): n.get("description", {}).get("value")
            for n in b.call("Accessibility.getFullAXTree")["nodes"] if not n.get("ignored")}


KEYS = {"Tab": ("Tab", 0), "Shift+Tab": ("Tab", 8), "ArrowLeft": ("ArrowLeft", 0),
        "ArrowRight": ("ArrowRight", 0), "ArrowUp": ("ArrowUp", 0), "ArrowDown": ("ArrowDown", 0)}


def keyboard_moves(p, title):
    """Where each key takes the focus from each stop of the window, as the page defines it."""
    graph = p.q("""(() => { const w = [...wtPage.windows.values()].find(w => w.desc.title === %s);
        const shown = w.stops.filter(s => s.el.checkVisibility()); const names = shown.map(s => s.desc.name);
        const ring = names.concat(['关闭']); const out = {};
        ring.forEach((n, k) => { const s = shown[k]; const at = d => { const to = s && w.controls[s.desc.nav[d]];
            return to && to.el.checkVisibility() ? to.desc.name : n; };
          out[n] = {'Tab': ring[(k + 1) %% ring.length], 'Shift+Tab': ring[(k + ring.length - 1) %% ring.length],
                    'ArrowLeft': s ? at(0) : n, 'ArrowRight': s ? at(1) : n, 'ArrowUp': s ? at(2) : n,
                    'ArrowDown': s ? at(3) : n}; });
        return out; })()""" % json.dumps(title))
    return graph


def shortest(graph, start, goal, keys):
    """The fewest key presses from stop start to stop goal using only `keys`."""
    paths, todo = {start: []}, [start]
    for at in todo:
        if at == goal:
            return paths[at]
        for k in keys:
            to = graph[at][k]
            if to not in paths:
                paths[to] = paths[at] + [k]
                todo.append(to)
    raise AssertionError("%s cannot reach %s" % (start, goal))


def keyboard_wiring(p):
    """The continuous-run wiring by keyboard alone: arrows and Tab to each terminal, Enter on it.
    Prints the presses it takes against Tab alone."""
    b = p.b
    # A click on the page around the windows leaves the focus on nothing: Tab comes back to the
    # menu, on its first button.
    b.mouse("mousePressed", 2, 760, 1)
    b.mouse("mouseReleased", 2, 760, 0)
    b.eval("document.activeElement.blur()")
    b.key("keyDown", "Tab", "Tab")
    b.key("keyUp", "Tab", "Tab")
    assert b.eval("document.activeElement.getAttribute('aria-label')") == "电路点动"
    b.key("keyDown", "Tab", "Tab")
    b.key("keyUp", "Tab", "Tab")
    assert b.eval("document.activeElement.getAttribute('aria-label')") == "电路长动", "menu Tab order"
    b.key("keyDown", "Enter", "Enter", "\r")
    b.key("keyUp", "Enter", "Enter")
    t = "电路长动"
    b.wait_for("!!%s" % p.js(win(t)), 10)
    assert b.eval("!%s.hidden" % p.js(win(t) + " .wt-ring")), "opened by keyboard without a focus mark"
    graph = keyboard_moves(p, t)
    focused = lambda: p.q("document.activeElement.closest('[data-name]') ? "
                          "document.activeElement.closest('[data-name]').dataset.name : ''")
    at = focused()
    assert at == "透明标签1", "the window opened with the focus on %r" % at
    tab_only = presses = 0
    for terminal in RUN_WIRING.split():
        tab_only += len(shortest(graph, at, terminal, ["Tab"])) + 1
        for k in shortest(graph, at, terminal, list(KEYS)):
            key, mods = KEYS[k]
            b.key("keyDown", key, key, modifiers=mods)
            b.key("keyUp", key, key, modifiers=mods)
            presses += 1
        assert focused() == terminal, "keys meant for %s reached %s" % (terminal, focused())
        # The focus mark is on the terminal, whole, inside the window.
        ring = p.q("""(() => { const w = document.activeElement.closest('.wt-window'); const r = w.querySelector('.wt-ring');
            if (r.hidden) return null; const a = r.getBoundingClientRect(), c = w.querySelector('.wt-client').getBoundingClientRect(),
            e = document.activeElement.getBoundingClientRect();
            return a.left <= e.left && a.top <= e.top && a.right >= e.right && a.bottom >= e.bottom &&
                   a.left >= c.left - 0.5 && a.top >= c.top - 0.5 && a.right <= c.right + 0.5 && a.bottom <= c.bottom + 0.5; })()""")
        assert ring, "no whole focus mark on %s: %s" % (terminal, ring)
        b.key("keyDown", "Enter", "Enter", "\r")
        b.key("keyUp", "Enter", "Enter")
        presses += 1
        at = terminal
    assert p.shown_wires(t) == p.all_wires(t), "not wired: %s" % sorted(p.all_wires(t) - p.shown_wires(t))
    print("keyboard-only continuous-run wiring: %d key presses (Tab alone: %d)" % (presses, tab_only))
    p.close(t)
    # The focus goes back to the menu button that opened the window.
    assert b.eval("document.activeElement.getAttribute('aria-label')") == "电路长动"


def names_and_keys(p):
    """Controls that act are focusable and named as on the desktop; Space holds a jog button."""
    b = p.b
    named = ax_names(b)
    for role, want in [("button", "电路长动"), ("button", "双重互锁"), ("dialog", MENU)]:
        assert want in named.get(role, set()), "no %s named %s: %s" % (role, want, named.get(role))
    t = p.open_exercise("电路点动", "电路点动")
    named = ax_names(b)
    for role, want in [("button", "a1"), ("button", "SB 点动按钮"), ("button", "QS 电源开关"),
                       ("button", "关闭"), ("checkbox", "修改线"), ("dialog", t)]:
        assert want in named.get(role, set()), "no %s named %s: %s" % (role, want, named.get(role))
    for internal in ("按钮1", "透明标签1", "选择框"):
        assert not any(internal in names for names in named.values()), "internal name %s exposed" % internal
    described = ax_described(b)
    for name, want in [("a1", "电源开关 QS，下端第1极"), ("SB 点动按钮", "按住电动机运转，松开停止"),
                       ("QS 电源开关", "按下合上或断开电源"), ("修改线", "勾选后点击端子拆除导线")]:
        assert described.get(name) == want, "%s described as %r" % (name, described.get(name))
    assert b.eval("%s.getAttribute('aria-live')" % p.js(ctl(t, "标签1"))) == "polite", "status not live"
    # What acts shows the hand: terminals, the switch's whole picture, push-buttons, the check box.
    for name in ("a1", "图片框1", "按钮1", "选择框"):
        assert b.eval("getComputedStyle(%s).cursor" % p.js(ctl(t, name))) == "pointer", name
    # The menu is inert meanwhile: its buttons are out of the tree.
    assert "电路长动" not in named.get("button", set()), "the inert menu is exposed"
    # Focus the jog push-button and hold Space: the start sequence runs (here: refused, as
    # nothing is wired) and the release stops the motor.
    b.eval("%s.focus()" % p.js(ctl(t, "按钮1")))
    b.key("keyDown", " ", "Space", " ")
    assert p.wait_box()[1] == "请连线"
    b.key("keyUp", " ", "Space")
    assert p.status(t, "标签1") == ["电机停止", RED], p.status(t, "标签1")
    b.key("keyDown", "Enter", "Enter", "\r")  # "确定" has the focus
    b.wait_for("document.getElementById('wt-boxes').hidden", 10)
    # The mouse and a finger hold it the same way: the release reaches the push-button although
    # the box now covers it.
    for press, release in (
            (lambda at: b.mouse("mousePressed", *at, 1), lambda at: b.mouse("mouseReleased", *at, 0)),
            (lambda at: b.touch("touchStart", *at), lambda at: b.touch("touchEnd", *at))):
        p.close(t)  # reopened, the window shows no status
        t = p.open_exercise("电路点动", "电路点动")
        assert p.status(t, "标签1") is None, p.status(t, "标签1")
        at = b.centre(ctl(t, "按钮1"))
        press(at)
        assert p.wait_box()[1] == "请连线"
        release(at)
        assert p.status(t, "标签1") == ["电机停止", RED], p.status(t, "标签1")
        p.press_ok()
    p.close(t)


def phone():
    """A 390x844 phone: the window opens fitted, terminals too small for a finger; a pinch zooms
    in, taps still wire at that zoom, and the close button stays a finger's size in view."""
    with Browser(390, 844, phone=True) as b:
        p = Page(b)
        p.load()
        b.touch("touchStart", *b.centre('%s button[aria-label="电路长动"]' % win(MENU)))
        b.touch("touchEnd", 0, 0)
        b.wait_for("!!%s" % p.js(win("电路长动")), 10)
        t = "电路长动"
        size = lambda: b.eval("%s.getBoundingClientRect().height" % p.js(ctl(t, "a1")))
        assert size() < 20, "terminals fit at %.1f px: nothing to zoom" % size()
        far = b.eval("(() => { const r = document.querySelector('.wt-float-close:not([hidden])')"
                     ".getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; })()")
        assert far[2] >= 44 and far[0] + far[2] <= 390 and far[1] >= 0, far
        x, y = b.centre(ctl(t, "a1"))
        b.fingers("touchStart", [(x - 10, y), (x + 10, y)])
        for step in range(1, 6):
            b.fingers("touchMove", [(x - 10 - 30 * step, y), (x + 10 + 30 * step, y)])
        b.fingers("touchEnd", [])
        assert size() >= 20, "a pinch left the terminals at %.1f px" % size()
        for name in "a1 b1".split():
            b.touch("touchStart", *b.centre(ctl(t, name)))
            b.touch("touchEnd", 0, 0)
        assert p.shown_wires(t), "taps at zoom wired nothing"
        b.touch("touchStart", far[0] + far[2] / 2, far[1] + far[3] / 2)
        b.touch("touchEnd", 0, 0)
        b.wait_for("!%s" % p.js(win(t)), 10)
        assert not b.errors, b.errors


def main():
    skip_unless(shutil.which("chromium"), "chromium is not installed")
    skip_unless(os.path.exists(PAGE), PAGE + " has not been built (./web.sh)")
    shots = os.environ.get("WT_WEB_SHOTS")
    started = time.time()
    with Browser() as b:
        p = Page(b)
        load = p.load()
        if shots:
            b.screenshot(os.path.join(shots, "menu.png"))
        continuous_run(p)
        forward_reverse(p, shots)
        keyboard_wiring(p)
        names_and_keys(p)
        assert not b.errors, b.errors
    phone()
    print("walk passed: page loaded in %.1f s, walk took %.1f s" % (load, time.time() - started - load))


if __name__ == "__main__":
    main()
