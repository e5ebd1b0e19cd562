"""The browser edition's page as the tests see it: windows by title, controls by name, the
message box, and checks on what is drawn."""
import json
import os
import sys
import time

PAGE = os.path.join(os.environ.get("WT_WEB_DIR", "build-web"), "wiring-trainer.html")


def skip_unless(condition, why):
    if not condition:
        print("skipped: " + why)
        sys.exit(77)


def win(title):
    return 'section.wt-window[aria-label="%s"]' % title


def ctl(title, name):
    return '%s [data-name="%s"]' % (win(title), name)


class Page:
    def __init__(self, browser):
        self.b = browser

    def load(self):
        started = time.time()
        self.b.open("file://" + os.path.abspath(PAGE))
        self.b.wait_for("document.documentElement.dataset.ready === '1'", 90)
        return time.time() - started

    def q(self, expression):
        return self.b.eval(expression)

    def js(self, selector):
        return "document.querySelector(%s)" % json.dumps(selector)

    def titles(self):
        return self.q("[...document.querySelectorAll('.wt-window')].map(w => w.getAttribute('aria-label'))")

    def open_exercise(self, caption, title):
        self.b.click('%s button[aria-label="%s"]' % (win("电机控制接线实训"), caption))
        self.b.wait_for("!!%s" % self.js(win(title)), 10)
        return title

    def click_all(self, title, names):
        for name in names.split():
            self.b.click(ctl(title, name))

    def shown_wires(self, title):
        return set(self.q(
            "[...document.querySelectorAll('%s .wt-wire')].filter(e => e.checkVisibility())"
            ".map(e => e.dataset.name)" % win(title).replace("'", "\\'")))

    def all_wires(self, title):
        return set(self.q(
            "[...document.querySelectorAll('%s .wt-wire')].map(e => e.dataset.name)"
            % win(title).replace("'", "\\'")))

    def status(self, title, label):
        """(text, colour) of a status label, or None while it is hidden."""
        return self.q("(() => { const e = %s; return e.checkVisibility() ? [e.textContent,"
                      " getComputedStyle(e).color] : null; })()" % self.js(ctl(title, label)))

    def animated(self, title, box):
        return self.q("%s.dataset.animated" % self.js(ctl(title, box) + " .wt-pic")) == "1"

    def picture(self, title, box):
        return self.q("%s.src" % self.js(ctl(title, box) + " .wt-pic"))

    def shot(self, title, box):
        """A screenshot of one control, as PNG data."""
        r = self.q("(() => { const r = %s.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; })()"
                   % self.js(ctl(title, box)))
        clip = dict(x=r[0], y=r[1], width=r[2], height=r[3], scale=1)
        return self.b.call("Page.captureScreenshot", format="png", clip=clip)["data"]

    def animates_on_screen(self, title, box, tries=5):
        """A screenshot of the box taken a moment later differs from the first one (a loaded
        machine may show the same frame twice, so a few moments are tried)."""
        first = self.shot(title, box)
        for _ in range(tries):
            time.sleep(0.3)
            if self.shot(title, box) != first:
                return True
        return False

    def box(self):
        """(title, text) of the message box shown, or None."""
        return self.q("(() => { const l = document.getElementById('wt-boxes'); if (l.hidden) return null;"
                      " return [l.querySelector('.wt-title').textContent, l.querySelector('.wt-box-text').textContent,"
                      " l.querySelector('.wt-ok').textContent]; })()")

    def wait_box(self):
        self.b.wait_for("!document.getElementById('wt-boxes').hidden", 10)
        return self.box()

    def press_ok(self):
        self.b.click("#wt-boxes .wt-ok")
        self.b.wait_for("document.getElementById('wt-boxes').hidden", 10)

    def close(self, title):
        self.b.click(win(title) + " .wt-close")
        self.b.wait_for("!%s" % self.js(win(title)), 10)

    def stats(self):
        return self.q("JSON.parse(JSON.stringify(wtPage.stats))")

    def hit(self, selector, dx=5):
        """The element that a click at the left edge (plus dx) and middle of selector would hit."""
        return self.q("(() => { const r = %s.getBoundingClientRect(); const e = document.elementFromPoint("
                      "r.left + %d, r.top + r.height / 2); return e && (e.dataset.name || e.getAttribute('aria-label')"
                      " || e.className); })()" % (self.js(selector), dx))
