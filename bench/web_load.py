"""The browser edition's cost: the size of build-web/wiring-trainer.html and the time from
opening it (navigation start) to the menu shown, in a fresh headless Chromium each run, against
its floor measured in the same run: a page of the same byte count whose script only decodes and
shows the menu picture.
   /usr/bin/python3 bench/web_load.py [RUNS]
Prints, per run, when the page's script started, when the WebAssembly runtime was ready, when
the menu was shown and when the floor page showed its picture (both: in the page, before the
browser lays it out), and the first contentful paint of each (ms after navigation start), then
the medians and the ratios of the medians."""
import os
import statistics
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "web"))
os.environ.setdefault("WT_WEB_DIR", os.path.join(root, "build-web"))
from cdp import Browser  # noqa: E402
from page import PAGE, Page  # noqa: E402

# The floor: the menu's background picture as base64, decoded by the script, shown as an image,
# the moment taken as the page takes it; the rest of the file is an unused string of the same
# kind as the page's inlined program, so that the browser reads and parses as many bytes.
FLOOR = """<!doctype html><html><head><meta charset="utf-8"><title>floor</title></head><body>
<img id="m" alt=""><script>
var pad = "%s";
var s = atob("%s"), b = new Uint8Array(s.length);
for (var i = 0; i < s.length; ++i) b[i] = s.charCodeAt(i);
document.getElementById('m').src = URL.createObjectURL(new Blob([b], {type: 'image/png'}));
window.shownAt = performance.now();
document.documentElement.dataset.ready = '1';
</script></body></html>
"""


def menu_picture(b):
    """The menu background as the page holds it, base64-encoded."""
    return b.eval("(() => { const w = [...wtPage.windows.values()][0].desc.bg;"
                  " let s = ''; for (const c of HEAPU8.subarray(w.p, w.p + w.n)) s += String.fromCharCode(c);"
                  " return btoa(s); })()")


def first_paint(b):
    """The page's first contentful paint, ms after navigation start."""
    b.wait_for("performance.getEntriesByName('first-contentful-paint').length > 0", 30)
    return b.eval("performance.getEntriesByName('first-contentful-paint')[0].startTime")


def floor_page(picture, size, directory):
    empty = FLOOR % ("", picture)
    pad = max(0, size - len(empty.encode()))
    path = os.path.join(directory, "floor.html")
    with open(path, "w") as f:
        f.write(FLOOR % ("A" * pad, picture))
    return path


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    size = os.path.getsize(PAGE)
    print("file: %s, %d bytes (%.2f MiB)" % (PAGE, size, size / 2**20))
    rows = []
    with tempfile.TemporaryDirectory(prefix="wt-floor.") as tmp:
        floor = None
        for n in range(runs):
            with Browser() as b:
                Page(b).load()
                s = b.eval("wtPage.stats")
                s["paint"] = first_paint(b)
                if floor is None:
                    floor = floor_page(menu_picture(b), size, tmp)
                    floor_size = os.path.getsize(floor)
            with Browser() as b:
                b.open("file://" + floor)
                b.wait_for("document.documentElement.dataset.ready === '1'", 90)
                shown = b.eval("window.shownAt")
                painted = first_paint(b)
            rows.append((s["started"], s["runtimeAt"], s["menuShownAt"], shown, s["paint"], painted))
            print("run %d: script %.0f ms, runtime %.0f ms, menu %.0f ms; floor %.0f ms;"
                  " first paint %.0f ms, floor's %.0f ms" % ((n + 1,) + rows[-1]))
    med = [statistics.median(r[i] for r in rows) for i in range(6)]
    print("median of %d: script %.0f ms, runtime %.0f ms, menu shown %.0f ms; floor %.0f ms;"
          " first paint %.0f ms, floor's %.0f ms" % (runs, *med))
    print("ratio menu shown / floor: %.2f, first paint / floor's: %.2f (floor page %d bytes)"
          % (med[2] / med[3], med[4] / med[5], floor_size))
    with open("/proc/loadavg") as f:
        print("load average: " + " ".join(f.read().split()[:3]))


if __name__ == "__main__":
    main()
