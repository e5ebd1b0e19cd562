"""The installer as a school's IT uses it, under wine in a fresh prefix: a silent install (to the
default folder and to one chosen with /D=), the program, the uninstaller, both shortcuts and the
entry in the list of installed programs present, the program started from where it was installed,
then a silent uninstall that leaves no file, link, folder or key behind."""
import os
import re
import shutil
import subprocess
import tempfile

from trainer import WINE, WINESERVER, Trainer, _start_xvfb, prepare_prefix, skip_unless_wine

SETUP = os.path.join(os.environ.get("WT_WIN_DIR", "build-win"), "wiring-trainer-setup.exe")
NAME = "电机控制接线实训"
KEY = r"[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WiringTrainer]"
FOLDERS = [None, r"C:\WiringTrainer"]  # None: the default under Program Files
LINKS = ["ProgramData/Microsoft/Windows/Start Menu/Programs/%s.lnk" % NAME,
         "users/Public/Desktop/%s.lnk" % NAME]


def reg_text(text):
    """A string as wine's .reg files store it: non-ASCII as \\xNNNN, backslashes doubled."""
    return "".join(c if ord(c) < 128 else "\\x%04x" % ord(c) for c in text.replace("\\", "\\\\"))


def uninstall_key(prefix):
    """The values of the program's Uninstall key in system.reg, or None."""
    with open(os.path.join(prefix, "system.reg"), encoding="utf-8", errors="replace") as f:
        text = f.read()
    at = text.find(KEY)
    if at < 0:
        return None
    body = text[at:].split("\n\n", 1)[0]
    return dict(re.findall(r'^"(\w+)"=(.*)$', body, re.M))


def files(prefix):
    """Every file and folder under drive_c that is not wine's own."""
    root = os.path.join(prefix, "drive_c")
    found = set()
    for here, dirs, names in os.walk(root):
        rel = os.path.relpath(here, root)
        if rel.split(os.sep)[0] == "windows" or "Temp" in rel.split(os.sep):
            continue
        found.update(os.path.join(rel, n) for n in dirs + names)
    return found


def unix_path(prefix, folder):
    return os.path.join(prefix, "drive_c", folder[3:].replace("\\", "/"))


def main():
    skip_unless_wine(SETUP)
    xvfb, display = _start_xvfb()
    prefix = tempfile.mkdtemp(prefix="wine-tests-installer-", dir="/tmp")
    env = dict(os.environ, DISPLAY=display, WINEPREFIX=prefix, WINEDEBUG="-all")
    wine = lambda *args: subprocess.run([WINE, *args], env=env, timeout=120).returncode
    try:
        prepare_prefix(env)
        before = files(prefix)
        for folder in FOLDERS:
            where = folder or r"C:\Program Files\WiringTrainer"
            assert wine(SETUP, "/S", *(["/D=" + folder] if folder else [])) == 0, "setup failed"
            subprocess.run([WINESERVER, "-w"], env=env, timeout=60)
            for name in ("wiring-trainer.exe", "uninstall.exe"):
                assert os.path.isfile(os.path.join(unix_path(prefix, where), name)), name
            for link in LINKS:
                assert os.path.isfile(os.path.join(prefix, "drive_c", link)), link + " missing"
            key = uninstall_key(prefix)
            assert key, "no Uninstall key in system.reg"
            program = reg_text(where + "\\wiring-trainer.exe")
            uninstaller = reg_text(where + "\\uninstall.exe")
            expected = {
                "DisplayName": '"%s"' % reg_text(NAME), "DisplayVersion": '"1.0.0"',
                "DisplayIcon": '"%s,0"' % program, "InstallLocation": '"%s"' % reg_text(where),
                "UninstallString": '"\\"%s\\""' % uninstaller,
                "QuietUninstallString": '"\\"%s\\" /S"' % uninstaller,
                "NoModify": "dword:00000001", "NoRepair": "dword:00000001"}
            for value, text in expected.items():
                assert key.get(value) == text, "%s is %r, not %r" % (value, key.get(value), text)
            assert key.get("Publisher", '""') != '""', "no Publisher"
            size_kb = int(key["EstimatedSize"].split(":")[1], 16)
            exe_kb = os.path.getsize(os.path.join(unix_path(prefix, where),
                                                  "wiring-trainer.exe")) // 1024
            assert exe_kb <= size_kb <= 2 * exe_kb + 1024, "EstimatedSize %d KiB" % size_kb

            # The program as the shortcut starts it, from the installed folder.
            os.environ["WT_WINEPREFIX"] = prefix
            with Trainer(program=os.path.join(unix_path(prefix, where), "wiring-trainer.exe")) as t:
                t.wait_menu(30)
                assert t.quit() == 0, "the installed program did not end cleanly"

            assert wine(where + "\\uninstall.exe", "/S") == 0, "uninstall failed"
            subprocess.run([WINESERVER, "-w"], env=env, timeout=60)
            assert uninstall_key(prefix) is None, "the Uninstall key is still there"
            left = sorted(files(prefix) - before)
            assert not left, "left behind after uninstalling from %s: %s" % (where, left)
            print("installed to and uninstalled from %s: nothing left" % where, flush=True)
    finally:
        subprocess.run([WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL)
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(prefix, ignore_errors=True)


if __name__ == "__main__":
    main()
