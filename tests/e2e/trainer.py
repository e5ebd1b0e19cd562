"""Drives the real wiring-trainer under Xvfb, as a learner would.

    with Trainer() as t:                      # Xvfb on a free display + the program
        t.wait_menu()
        win = t.open_exercise("长动")          # clicks the menu button, waits for the window
        t.click(win, "e1")                    # centre of a control, from its .form file
        t.hold(win, "按钮1", seconds=2)         # mousedown ... mouseup
        img = t.screenshot()                  # whole screen as an Image (RGB)
        t.shown_wires(base, img, win)          # wire bars that differ from a baseline shot
        box = t.wait_title("^信息：")          # a message box titled "信息：" (+ the program name)
        t.press_ok(box)
        t.close(win)                          # WM_DELETE_WINDOW, as a window manager would
        assert t.quit() == 0                  # closes the menu; the program's exit code

Screen positions come from the form compiler's geometry dump (form_geometry.json in the build's
generated folder, written from resources/forms/<Window>.form): every window sits at 50, 50 and there
is no window manager, so a control's screen position is 50 + its offsets (and its picture box's).

Other helpers: t.windows() lists the viewable top-level windows as (id, x, y, w, h, title);
t.find_window(size) / t.wait_window(size) / t.wait_gone(size) find them by client size;
t.raise_window(id) puts a window on top (there is no window manager to do it); t.click_at(x, y)
clicks a screen position; t.mouse_down(window, control) / t.mouse_up() hold the left button;
t.form(window) is the Form (size, rect, centre, wires, terminals) of a window.

Under wine the menu and the exercise windows are placed where they are found (see below).

Real desktops: Trainer(screen="1366x768", wm=True, atspi=True) gives Xvfb that screen size, starts
openbox as the window manager (t.clients() lists the managed windows with their client rects,
t.frame_extents(id) the frame around one) and a private session bus with the accessibility bus, so
/usr/bin/python3 with pyatspi run under t.env sees the program's widgets.

Windows the program has placed or scaled: t.place(window, client) records where a window's client
area really is (a row of t.clients()); from then on t.rect / t.centre / t.click map the form's
stored geometry into that client area at the program's uniform scale (fit_of), so the same walk
clicks a window wherever and at whatever size it is shown. t.wait_client(name) finds a managed
window that is not yet placed and places it.

Where things are, from the environment (ctest sets all three, see CMakeLists.txt here):
WT_TRAINER (the program; default build/wiring-trainer), WT_WMCLOSE (the wmclose.c tool; default
tests/e2e/wt_wmclose beside the program), WT_FORM_GEOMETRY (formc's dump; default
build/generated/form_geometry.json). Xvfb picks a free display itself (-displayfd), so tests can
run in parallel.

The Windows edition: a WT_TRAINER ending in .exe (build-win/wiring-trainer.exe) runs as
`wine64 wiring-trainer.exe` in the prefix WT_WINEPREFIX (made with wineboot on first use). Wine
gives the started process's pid to its X windows, and without a window manager an X window is
exactly the Win32 client area, so every walk here drives it unchanged. Walks in one prefix must
not overlap (ctest: RESOURCE_LOCK); stop() ends the prefix's wine processes.
"""

import json
import os
import re
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GEOMETRY = os.environ.get("WT_FORM_GEOMETRY") or os.path.join(ROOT, "build", "generated",
                                                                 "form_geometry.json")
WINDOW_ORIGIN = (50, 50)
# The least share of a running motor's box that visibly changes between two looks 0.35 s apart.
MOTION_SHARE = 0.03

WINE = os.environ.get("WT_WINE", "/usr/lib/wine/wine64")
WINESERVER = os.path.join(os.path.dirname(WINE), "wineserver")

MENU_BUTTONS = {  # menu button name -> exercise window
    "点动": "JogExercise",
    "长动": "ContinuousRunExercise",
    "长动加点动": "ContinuousJogExercise",
    "按钮1": "MultiLocationExercise",
    "正反转电路": "ForwardReverseExercise",
    "三重互锁": "DoubleInterlockExercise",
}


class Form:
    """Geometry of one window, from the form compiler's dump of every form."""

    _dump = None  # the parsed JSON, read once per process

    def __init__(self, window):
        if Form._dump is None:
            with open(GEOMETRY, encoding="utf-8") as f:
                Form._dump = json.load(f)["windows"]
        data = Form._dump[window]
        self.window = window
        self.size = tuple(data["size"])
        self.controls = {}  # name -> dict(kind, x, y, w, h, parent, attrs)
        self.order = []
        for c in data["controls"]:
            self.controls[c["name"]] = dict(kind=c["kind"], x=c["x"], y=c["y"], w=c["w"],
                                            h=c["h"], parent=c["parent"], attrs=c["attrs"])
            self.order.append(c["name"])

    def rect(self, name):
        """Screen rectangle (x, y, w, h) of a control."""
        c = self.controls[name]
        x, y = c["x"], c["y"]
        p = c["parent"]
        while p:
            pc = self.controls[p]
            x, y = x + pc["x"], y + pc["y"]
            p = pc["parent"]
        return (WINDOW_ORIGIN[0] + x, WINDOW_ORIGIN[1] + y, c["w"], c["h"])

    def centre(self, name):
        x, y, w, h = self.rect(name)
        return (x + w // 2, y + h // 2)

    def wires(self):
        return [n for n in self.order if self.controls[n]["kind"] == "wire"]

    def terminals(self):
        return [n for n in self.order if self.controls[n]["kind"] == "terminal"]


class Image:
    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region(self, rect):
        x, y, w, h = rect
        return [self.pixel(x + i, y + j) for j in range(h) for i in range(w)]


def _start_xvfb(screen="1920x1080"):
    """Xvfb on a display it picks itself; returns (process, ":N") once it accepts clients."""
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen + "x24", "-nolisten", "tcp",
         "-noreset"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    with os.fdopen(read_fd, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip().isdigit():
        proc.kill()
        proc.wait()
        raise RuntimeError("Xvfb did not start")
    return proc, ":" + number.strip().decode()


class Trainer:
    def __init__(self, program=None, env=None, start_program=True, screen="1920x1080", wm=False,
                 atspi=False):
        self.program = program or os.environ.get("WT_TRAINER") or os.environ.get(
            "WT_PROGRAM", os.path.join(ROOT, "build", "wiring-trainer"))
        self.wine = self.program.endswith(".exe")
        self.command = [WINE, self.program] if self.wine else [self.program]
        self.wmclose = os.environ.get("WT_WMCLOSE") or os.path.join(
            ROOT, "build" if self.wine else os.path.dirname(self.program), "tests", "e2e",
            "wt_wmclose")
        if self.wine:
            skip_unless_wine(self.program)
        for tool, what in ((self.command[0], "the program"), (self.wmclose, "wt_wmclose")):
            if not os.access(tool, os.X_OK):
                raise RuntimeError("%s is missing: %s (build it first)" % (what, tool))
        self.tmp = tempfile.mkdtemp(prefix="wt-e2e-")
        self.xvfb, self.display = _start_xvfb(screen)
        self.helpers = []  # window manager, session bus, accessibility bus: ended by stop()
        self.env = dict(os.environ)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env["DISPLAY"] = self.display
        self.env["XDG_RUNTIME_DIR"] = self.tmp
        self.env.setdefault("SDL_AUDIODRIVER", "dummy")
        if self.wine:
            self.env["WINEPREFIX"] = wine_prefix()
            self.env["WINEDEBUG"] = "-all"
        if env:
            self.env.update(env)
        for _ in range(100):
            if subprocess.run(["xdpyinfo"], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0:
                break
            time.sleep(0.05)
        self.proc = None
        self.forms = {}
        self.placed = {}  # window -> client row (id, x, y, w, h, name) where the program put it
        if atspi:
            self._start_atspi()
        if wm:
            self._start_openbox()
        if self.wine:
            prepare_prefix(self.env)
        if start_program:
            self.start()

    def start(self):
        self.log = open(os.path.join(self.tmp, "program.log"), "w")
        self.proc = subprocess.Popen(self.command, env=self.env, stdout=self.log,
                                     stderr=subprocess.STDOUT)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def _start_openbox(self):
        """A real window manager: frames, focus, stacking, _NET_CLIENT_LIST."""
        self.helpers.append(subprocess.Popen(
            ["openbox", "--sm-disable", "--config-file", "/etc/xdg/openbox/rc.xml"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.wait_for(lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                      check=False), 10.0, "openbox")

    def _start_atspi(self):
        """A private session bus with the accessibility bus on it; Qt exposes its widgets there."""
        out = self.run("dbus-launch", "--sh-syntax")
        for key, value in re.findall(r"^(\w+)='?([^';]*)'?;", out, re.M):
            self.env[key] = value
        self.dbus_pid = int(self.env.get("DBUS_SESSION_BUS_PID", "0")) or None
        self.helpers.append(subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env["QT_ACCESSIBILITY"] = "1"
        self.env["NO_AT_BRIDGE"] = "0"
        time.sleep(0.5)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.wine:  # wine's own processes of the prefix (explorer, services) hold this display
            subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
            subprocess.run([WINESERVER, "-w"], env=self.env, stderr=subprocess.DEVNULL)
        for helper in reversed(self.helpers):
            if helper.poll() is None:
                helper.terminate()
                helper.wait()
        if getattr(self, "dbus_pid", None):
            try:
                os.kill(self.dbus_pid, 15)
            except OSError:
                pass
        if self.xvfb.poll() is None:
            self.xvfb.terminate()
            self.xvfb.wait()

    # --- X helpers -----------------------------------------------------------------------------

    def run(self, *args, check=True):
        r = subprocess.run(list(args), env=self.env, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, text=True, timeout=30)
        if check and r.returncode != 0:
            raise RuntimeError("%s failed: %s" % (args[0], r.stderr.strip()))
        return r.stdout

    def windows(self):
        """Viewable top-level windows: list of (id, x, y, w, h, name)."""
        out = self.run("xwininfo", "-root", "-children")
        found = []
        for m in re.finditer(r'^\s+(0x[0-9a-f]+) (\(has no name\)|"(.*)"): .*?\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)',
                             out, re.M):
            wid = m.group(1)
            info = self.run("xwininfo", "-id", wid, check=False)
            if "IsViewable" not in info:
                continue
            found.append((wid, int(m.group(6)), int(m.group(7)), int(m.group(4)),
                          int(m.group(5)), m.group(3) or ""))
        return found

    def clients(self):
        """Top-level windows the window manager manages (needs wm=True): list of
        (id, x, y, w, h, name), the client area's absolute position and size."""
        out = self.run("xprop", "-root", "_NET_CLIENT_LIST", check=False)
        found = []
        for wid in re.findall(r"0x[0-9a-f]+", out):
            info = self.run("xwininfo", "-id", wid, check=False)
            if "IsViewable" not in info:
                continue
            num = lambda key: int(re.search(key + r":\s+(-?\d+)", info).group(1))
            name = re.search(r'xwininfo: Window id: \S+ (?:"(.*)"|\(has no name\))', info)
            found.append((wid, num("Absolute upper-left X"), num("Absolute upper-left Y"),
                          num("Width"), num("Height"), (name.group(1) if name else "") or ""))
        return found

    def frame_extents(self, wid):
        """(left, right, top, bottom) of the window manager's frame around a client."""
        out = self.run("xprop", "-id", wid, "_NET_FRAME_EXTENTS", check=False)
        nums = [int(n) for n in re.findall(r"\d+", out.split("=", 1)[-1])] if "=" in out else []
        return tuple(nums) if len(nums) == 4 else (0, 0, 0, 0)

    def find_window(self, size):
        for w in self.windows():
            if (w[3], w[4]) == tuple(size):
                return w
        return None

    def wait_for(self, predicate, timeout=10.0, what="condition"):
        end = time.time() + timeout
        while time.time() < end:
            value = predicate()
            if value:
                return value
            if self.proc and self.proc.poll() is not None:
                raise RuntimeError("program ended with %s while waiting for %s" %
                                   (self.proc.returncode, what))
            time.sleep(0.05)
        raise TimeoutError("timed out waiting for " + what)

    def wait_window(self, size, timeout=10.0):
        return self.wait_for(lambda: self.find_window(size), timeout, "window %dx%d" % tuple(size))

    def wait_gone(self, size, timeout=10.0):
        return self.wait_for(lambda: self.find_window(size) is None, timeout, "window to close")

    def titled(self, pattern):
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                           env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           text=True)
        ids = r.stdout.split()
        return ids[0] if ids else None

    def raise_window(self, wid):
        """Puts a top-level window above the others (no window manager does it here)."""
        self.run("xdotool", "windowraise", wid)
        time.sleep(0.2)

    def wm_close(self, wid):
        """Asks a window to close as a window manager would (WM_DELETE_WINDOW)."""
        self.run(self.wmclose, wid)

    def wait_title(self, pattern, timeout=10.0):
        return self.wait_for(lambda: self.titled(pattern), timeout, "window titled " + pattern)

    def press_ok(self, wid):
        self.run("xdotool", "windowfocus", "--sync", wid, check=False)
        self.run("xdotool", "key", "--window", wid, "Return", check=False)
        self.wait_for(lambda: self.titled("^信息：") != wid, 5.0, "message box to close")

    # --- Mouse ---------------------------------------------------------------------------------

    def _move(self, x, y):
        # A --sync move to the place the pointer already is never returns: step aside first.
        self.run("xdotool", "mousemove", str(x + 1), str(y + 1))
        self.run("xdotool", "mousemove", "--sync", str(x), str(y))

    def pointer_away(self):
        """Moves the pointer off every window (to the screen's corner), so that no hover cue
        shows in a screenshot."""
        self._move(1, 1)

    def click_at(self, x, y):
        self._move(x, y)
        self.run("xdotool", "click", "1")

    def form(self, window):
        if window not in self.forms:
            self.forms[window] = Form(window)
        return self.forms[window]

    def click(self, window, control):
        self.click_at(*self.centre(window, control))

    def click_all(self, window, names, pause=0.0):
        for n in names.split():
            self.click(window, n)
            if pause:
                time.sleep(pause)

    def mouse_down(self, window, control):
        self._move(*self.centre(window, control))
        self.run("xdotool", "mousedown", "1")

    def mouse_up(self):
        self.run("xdotool", "mouseup", "1")

    # --- Screen --------------------------------------------------------------------------------

    def screenshot(self, rect=None):
        path = os.path.join(self.tmp, "shot.ppm")
        args = ["import", "-window", "root"]
        if rect:
            x, y, w, h = rect
            args += ["-crop", "%dx%d+%d+%d" % (w, h, x, y)]
        args += ["-depth", "8", path]
        self.run(*args)
        with open(path, "rb") as f:
            data = f.read()
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        width, height = int(m.group(1)), int(m.group(2))
        return Image(width, height, data[m.end():])

    def save_screenshot(self, path):
        self.run("import", "-window", "root", path)

    def shown_wires(self, baseline, img, window, wires=None):
        """Wires drawn in `img`: a bar counts as shown when several points along its middle line
        differ from `baseline`, a screenshot of the same window with every wire hidden."""
        shown = []
        for wire in wires or self.form(window).wires():
            a = self.bar_pixels(baseline, window, wire)
            b = self.bar_pixels(img, window, wire)
            if sum(1 for p, q in zip(a, b) if differs(p, q)) >= 3:
                shown.append(wire)
        return shown

    def bar_pixels(self, img, window, wire):
        x, y, w, h = self.rect(window, wire)
        cx, cy = x + w // 2, y + h // 2
        # Sixteen points along the middle line; terminals sitting on the ends cover some.
        pts = [(cx, y + h * k // 17) for k in range(1, 17)] if h > w else \
              [(x + w * k // 17, cy) for k in range(1, 17)]
        return [img.pixel(px, py) for px, py in pts]

    # --- Placed and scaled windows ------------------------------------------------------------

    def place(self, window, client):
        self.placed[window] = client

    def rect(self, window, control):
        """Screen rectangle of a control: the form's, or mapped into the window's placed client
        area the way the program scales its content (each edge rounded on its own)."""
        x, y, w, h = self.form(window).rect(control)
        client = self.placed.get(window)
        if not client:
            return (x, y, w, h)
        scale, ox, oy = fit_of(self.form(window).size, client[3:5])
        x, y = x - WINDOW_ORIGIN[0], y - WINDOW_ORIGIN[1]
        left, top = round(x * scale), round(y * scale)
        right, bottom = round((x + w) * scale), round((y + h) * scale)
        return (client[1] + ox + left, client[2] + oy + top, max(1, right - left),
                max(1, bottom - top))

    def centre(self, window, control):
        x, y, w, h = self.rect(window, control)
        return (x + w // 2, y + h // 2)

    def motion(self, window, control, pause=0.35):
        """Share of a control's pixels that clearly change between two screenshots `pause`
        seconds apart (printed, so that a test's log shows the figure)."""
        rect = self.rect(window, control)
        first = self.screenshot(rect).region((0, 0, rect[2], rect[3]))
        time.sleep(pause)
        second = self.screenshot(rect).region((0, 0, rect[2], rect[3]))
        share = clearly_changed_share(first, second)
        print("motion %s %s: %.1f %%" % (window, control, 100 * share), flush=True)
        return share

    def wait_client(self, window, timeout=15.0):
        """The managed window (wm=True) that appeared and is not placed yet: placed as `window`."""
        known = {c[0] for c in self.placed.values()}

        def fresh():
            new = [c for c in self.clients() if c[0] not in known]
            return new[0] if len(new) == 1 else None
        client = self.wait_for(fresh, timeout, "a new window for " + window)
        # The window manager may still be placing it: wait until it stands still.
        for _ in range(40):
            time.sleep(0.1)
            now = [c for c in self.clients() if c[0] == client[0]]
            if now and now[0] == client:
                break
            client = now[0] if now else client
        self.place(window, client)
        return client

    def forget(self, window):
        self.placed.pop(window, None)

    # --- Program -------------------------------------------------------------------------------

    def wait_menu(self, timeout=15.0):
        return self.wait_opened("ExerciseMenu", timeout)

    def open_exercise(self, menu_button, timeout=15.0):
        window = MENU_BUTTONS[menu_button]
        self.click("ExerciseMenu", menu_button)
        self.wait_opened(window, timeout)
        time.sleep(0.3)
        return window

    def wait_opened(self, window, timeout=15.0):
        """The window of that form, once shown. A Win32 program places its window's frame at
        50, 50; wine without a window manager draws no frame but leaves the client area where
        that frame would have put it, so there the window counts as placed where it is found."""
        row = self.wait_window(self.form(window).size, timeout)
        if self.wine:
            self.place(window, row)
        return row

    def close(self, window):
        w = self.find_window(self.form(window).size)
        if w:
            self.run(self.wmclose, w[0])
            self.wait_gone(self.form(window).size)

    def quit(self, timeout=15.0):
        menu = self.find_window((994, 491))
        if menu:
            self.run(self.wmclose, menu[0])
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None


def wine_prefix():
    return os.environ.get("WT_WINEPREFIX") or os.path.join(ROOT, "build-win", "wine-prefix")


def skip_unless_wine(exe):
    """Ends a test of the Windows edition as skipped (ctest SKIP_RETURN_CODE 77) where it cannot
    run."""
    for ok, why in ((os.access(WINE, os.X_OK), WINE + " is not installed"),
                    (os.path.exists(exe), exe + " has not been built (./windows.sh)")):
        if not ok:
            print("skipped: " + why)
            raise SystemExit(77)


def prepare_prefix(env):
    """Makes the wine prefix of `env` once (about 7 s); later walks reuse it."""
    if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
        subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120)
        subprocess.run([WINESERVER, "-w"], env=env, timeout=60)


def fit_of(stored, client):
    """The program's uniform scale of a stored size in a client size and the offset that centres
    the scaled content."""
    scale = min(client[0] / stored[0], client[1] / stored[1])
    return (scale, (client[0] - round(stored[0] * scale)) // 2,
            (client[1] - round(stored[1] * scale)) // 2)


def clearly_changed_share(before, after, threshold=38):
    """Share of pixels whose largest channel changes by more than `threshold`: motion as a
    learner sees it."""
    if not before:
        return 0.0
    return sum(1 for a, b in zip(before, after)
               if max(abs(p - q) for p, q in zip(a, b)) > threshold) / len(before)


def differs(a, b, threshold=30):
    return sum(abs(p - q) for p, q in zip(a, b)) > threshold


def changed_share(before, after, threshold=30):
    """Share of pixels that differ between two equally sized pixel lists."""
    if not before:
        return 0.0
    return sum(1 for a, b in zip(before, after) if differs(a, b, threshold)) / len(before)
