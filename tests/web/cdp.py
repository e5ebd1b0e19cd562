"""Headless Chromium driven through the DevTools protocol: open a page, evaluate script, press
real mouse buttons and keys at element centres, take screenshots. Used by the browser-edition
tests and the load-time bench."""
import base64
import json
import os
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket


class Browser:
    def __init__(self, width=1366, height=768, phone=False):
        self.profile = tempfile.mkdtemp(prefix="wt-chromium.")
        exe = shutil.which("chromium") or "chromium"
        self.proc = subprocess.Popen(
            [exe, "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--remote-debugging-port=0", f"--user-data-dir={self.profile}",
             f"--window-size={width},{height}", "--autoplay-policy=no-user-gesture-required",
             "--allow-file-access-from-files", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port = self._port()
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list"))
        page = next(t for t in targets if t["type"] == "page")
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60,
                                              suppress_origin=True)
        self.next_id = 0
        self.console = []
        self.errors = []
        self.call("Runtime.enable")
        self.call("Page.enable")
        # The viewport exactly as asked, whatever the headless window keeps for itself.
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=1, mobile=phone)
        if phone:
            self.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    def _port(self):
        marker = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + 30
        while time.time() < deadline:
            if os.path.exists(marker):
                with open(marker) as f:
                    first = f.readline().strip()
                if first:
                    return int(first)
            time.sleep(0.05)
        raise RuntimeError("chromium did not open its DevTools port")

    def _event(self, msg):
        method = msg.get("method")
        if method == "Runtime.consoleAPICalled":
            self.console.append(" ".join(str(a.get("value", a.get("description", "")))
                                         for a in msg["params"]["args"]))
        elif method == "Runtime.exceptionThrown":
            d = msg["params"]["exceptionDetails"]
            self.errors.append(d.get("exception", {}).get("description", d.get("text")))

    def call(self, method, **params):
        self.next_id += 1
        my = self.next_id
        self.ws.send(json.dumps({"id": my, "method": method, "params": params}))
        while True:
            msg = json.loads(self.ws.recv())
            if msg.get("id") == my:
                if "error" in msg:
                    raise RuntimeError(f"{method}: {msg['error']}")
                return msg.get("result", {})
            self._event(msg)

    def eval(self, expression):
        r = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                      awaitPromise=True)
        if "exceptionDetails" in r:
            raise RuntimeError(f"{expression}: {r['exceptionDetails']}")
        return r["result"].get("value")

    def open(self, url):
        self.call("Page.navigate", url=url)

    def wait_for(self, expression, timeout=20.0):
        deadline = time.time() + timeout
        guarded = "(() => { try { return (%s); } catch (e) { return null; } })()" % expression
        while time.time() < deadline:
            value = self.eval(guarded)
            if value:
                return value
            time.sleep(0.05)
        raise TimeoutError(f"waited {timeout} s for {expression}; errors: {self.errors}")

    def centre(self, selector):
        """Viewport centre of the first element matching selector, or None when not shown."""
        return self.eval(
            "(() => { const e = document.querySelector(%s); if (!e) return null;"
            " const r = e.getBoundingClientRect(); if (!r.width || !r.height) return null;"
            " return [r.left + r.width / 2, r.top + r.height / 2]; })()" % json.dumps(selector))

    def mouse(self, kind, x, y, buttons):
        self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                  buttons=buttons, clickCount=1, pointerType="mouse")

    def touch(self, kind, x, y):
        points = [] if kind == "touchEnd" else [dict(x=x, y=y, id=1)]
        self.call("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def fingers(self, kind, points):
        """Touch with several fingers at once: points [(x, y), …], none for the last lift."""
        self.call("Input.dispatchTouchEvent", type=kind,
                  touchPoints=[dict(x=x, y=y, id=k + 1) for k, (x, y) in enumerate(points)])

    def press(self, selector):
        x, y = self._at(selector)
        self.mouse("mouseMoved", x, y, 0)
        self.mouse("mousePressed", x, y, 1)

    def release(self, selector):
        x, y = self._at(selector)
        self.mouse("mouseReleased", x, y, 0)

    def click(self, selector):
        self.press(selector)
        self.release(selector)

    def _at(self, selector):
        at = self.centre(selector)
        if at is None:
            raise RuntimeError(f"nothing to click at {selector}")
        return at

    def key(self, kind, key, code, text="", modifiers=0):
        params = dict(type=kind, key=key, code=code, modifiers=modifiers,
                      windowsVirtualKeyCode={" ": 32, "Enter": 13, "Tab": 9}.get(key, 0))
        if text:
            params["text"] = text
        self.call("Input.dispatchKeyEvent", **params)

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))

    def close(self):
        try:
            self.ws.close()
        finally:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
            shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
