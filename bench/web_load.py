"""The browser edition's cost: the size of build-web/wiring-trainer.html and the time from
opening it (navigation start) to the menu shown, in a fresh headless Chromium each run.
   /usr/bin/python3 bench/web_load.py [RUNS]
Prints, per run, when the page's script started, when the WebAssembly runtime was ready and when
the menu was shown (ms after navigation start), then the medians."""
import os
import statistics
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "web"))
os.environ.setdefault("WT_WEB_DIR", os.path.join(root, "build-web"))
from cdp import Browser  # noqa: E402
from page import PAGE, Page  # noqa: E402


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    size = os.path.getsize(PAGE)
    print("file: %s, %d bytes (%.2f MiB)" % (PAGE, size, size / 2**20))
    rows = []
    for n in range(runs):
        with Browser() as b:
            Page(b).load()
            s = b.eval("wtPage.stats")
            rows.append((s["started"], s["runtimeAt"], s["menuShownAt"]))
            print("run %d: script %.0f ms, runtime %.0f ms, menu %.0f ms" % ((n + 1,) + rows[-1]))
    med = [statistics.median(r[i] for r in rows) for i in range(3)]
    print("median of %d: script %.0f ms, runtime %.0f ms, menu shown %.0f ms" % (runs, *med))
    with open("/proc/loadavg") as f:
        print("load average: " + " ".join(f.read().split()[:3]))


if __name__ == "__main__":
    main()
