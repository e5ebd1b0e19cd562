"""The logic compiled to WebAssembly (node) against the native build: the same seeded random
clicks on every exercise window must leave the same terminal flags, wire visibility and control
states after every click. Also checks that every window's page description is valid JSON whose
pictures lie inside the program's memory."""
import json
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page import skip_unless  # noqa: E402

SEEDS = (1, 20261209, 77)
CLICKS = 150  # per opening; each window is opened twice


def run(command):
    return subprocess.run(command, check=True, capture_output=True, timeout=240).stdout.decode()


def main():
    native = os.environ.get("WT_DIFF_NATIVE", "")
    wasm = os.path.join(os.environ.get("WT_WEB_DIR", "build-web"), "diff_driver.js")
    node = shutil.which("node")
    skip_unless(node, "node is not installed")
    skip_unless(os.path.exists(wasm), wasm + " has not been built (./web.sh)")
    skip_unless(os.path.exists(native), "no native driver")

    for line in run([native, "--describe"]).splitlines():
        window = json.loads(line)
        assert window["controls"], "window %x without controls" % window["id"]
        for c in window["controls"]:
            for pic in (c.get("face"), c["state"].get("pic")):
                assert pic is None or pic["n"] > 0, (window["id"], c["name"], pic)

    compared = 0
    for seed in SEEDS:
        ours = run([native, str(seed), str(CLICKS)]).splitlines()
        theirs = run([node, wasm, str(seed), str(CLICKS)]).splitlines()
        assert len(ours) == 6 * 2 * (CLICKS + 1), "native transcript has %d lines" % len(ours)
        for n, (a, b) in enumerate(zip(ours, theirs)):
            assert a == b, "seed %d, line %d:\n native %s\n wasm   %s" % (seed, n, a, b)
        assert len(ours) == len(theirs), "wasm transcript has %d lines" % len(theirs)
        compared += len(ours)
        states = {line.split(" flags ")[1] for line in ours}
        assert len(states) > 100, "seed %d reached only %d states" % (seed, len(states))
    print("native and wasm agree after %d clicks and openings (%d seeds)" % (compared, len(SEEDS)))


if __name__ == "__main__":
    main()
