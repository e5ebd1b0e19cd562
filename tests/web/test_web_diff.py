"""The logic compiled to WebAssembly (node) against the native build: the same seeded random
clicks on every exercise window must leave the same terminal flags, wire visibility and control
states after every click. Also checks that every window's page description is valid JSON whose
pictures lie inside the program's memory.

With WT_DIFF_EXE (the driver cross-compiled for Windows, build-win/tests/diff_driver.exe) the
other side is that driver under wine64 instead, and the GBK conversions of every name and caption
(diff_driver --gbk) must agree too."""
import json
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page import skip_unless  # noqa: E402

SEEDS = (1, 20261209, 77)
CLICKS = 150  # per opening; each window is opened twice


def run(command, env=None):
    out = subprocess.run(command, check=True, capture_output=True, timeout=240, env=env).stdout
    return out.decode().replace("\r\n", "\n")


def other_side():
    """The command of the driver compared with the native one, its name and environment."""
    exe = os.environ.get("WT_DIFF_EXE")
    if exe:
        sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
        from trainer import WINE, prepare_prefix, wine_prefix
        skip_unless(os.access(WINE, os.X_OK), "wine64 is not installed")
        skip_unless(os.path.exists(exe), exe + " has not been built (./windows.sh)")
        env = dict(os.environ, WINEPREFIX=wine_prefix(), WINEDEBUG="-all")
        prepare_prefix(env)
        return [WINE, exe], "wine", env
    node = shutil.which("node")
    wasm = os.path.join(os.environ.get("WT_WEB_DIR", "build-web"), "diff_driver.js")
    skip_unless(node, "node is not installed")
    skip_unless(os.path.exists(wasm), wasm + " has not been built (./web.sh)")
    return [node, wasm], "wasm", None


def main():
    native = os.environ.get("WT_DIFF_NATIVE", "")
    other, name, env = other_side()
    skip_unless(os.path.exists(native), "no native driver")
    if name == "wine":
        ours, theirs = run([native, "--gbk"]).splitlines(), run(other + ["--gbk"], env).splitlines()
        assert len(ours) > 100 and len(ours) == len(theirs), (len(ours), len(theirs))
        for a, b in zip(ours, theirs):
            assert a == b, "GBK: native %s, wine %s (GBK, UTF-8, GBK again, strict)" % (a, b)

    for line in run([native, "--describe"]).splitlines():
        window = json.loads(line)
        assert window["controls"], "window %x without controls" % window["id"]
        for c in window["controls"]:
            for pic in (c.get("face"), c["state"].get("pic")):
                assert pic is None or pic["n"] > 0, (window["id"], c["name"], pic)

    compared = 0
    for seed in SEEDS:
        ours = run([native, str(seed), str(CLICKS)]).splitlines()
        theirs = run(other + [str(seed), str(CLICKS)], env).splitlines()
        assert len(ours) == 6 * 2 * (CLICKS + 1), "native transcript has %d lines" % len(ours)
        for n, (a, b) in enumerate(zip(ours, theirs)):
            assert a == b, "seed %d, line %d:\n native %s\n %-6s %s" % (seed, n, a, name, b)
        assert len(ours) == len(theirs), "%s transcript has %d lines" % (name, len(theirs))
        compared += len(ours)
        states = {line.split(" flags ")[1] for line in ours}
        assert len(states) > 100, "seed %d reached only %d states" % (seed, len(states))
    print("native and %s agree after %d clicks and openings (%d seeds)" % (name, compared,
                                                                          len(SEEDS)))


if __name__ == "__main__":
    main()
