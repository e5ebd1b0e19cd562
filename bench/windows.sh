#!/usr/bin/env bash
# The Windows edition's cost, beside the Linux build on the same machine:
#   bench/windows.sh [RUNS] [--only startup]     (default 5 runs)
# Sizes of build-win/wiring-trainer.exe and the installer, then bench/run.sh twice with the same
# arguments: the Linux build, and the .exe under wine64. Start-up is launch to the menu's first
# paint as the X server shows it; peak RSS is VmHWM of the wine process that runs the program
# (wine64 execs in place, so it is the process the probe started) - the same counter as the
# Linux row, and what Wine gives as PeakWorkingSetSize. Wine runs warm: its server and services
# already up, as Windows is on a classroom PC; a first start in a fresh prefix costs seconds more.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
win=${WT_WIN_DIR:-$root/build-win}
wine=${WT_WINE:-/usr/lib/wine/wine64}
[ -f "$win/wiring-trainer.exe" ] || { echo "no $win/wiring-trainer.exe: run ./windows.sh" >&2; exit 1; }

for f in "$win/wiring-trainer.exe" "$win/wiring-trainer-setup.exe"; do
    [ -f "$f" ] && printf '%-32s %8.2f MiB\n' "$(basename "$f")" "$(stat -c %s "$f" | awk '{print $1 / 1048576}')"
done

if [ "${WT_BENCH_LINUX:-1}" != 0 ]; then  # WT_BENCH_LINUX=0: the Windows edition alone
    echo "== Linux build"
    "$here/run.sh" "$@"
fi

prefix=${WT_WINEPREFIX:-$root/build-bench/wine-prefix}
export WINEPREFIX=$prefix WINEDEBUG=-all
work=$(mktemp -d /tmp/wt-bench-wine.XXXXXX)
trap '"$(dirname "$wine")/wineserver" -k 2>/dev/null; rm -rf "$work"' EXIT
[ -f "$prefix/system.reg" ] || { "$wine" wineboot -i >/dev/null 2>&1; "$(dirname "$wine")/wineserver" -w; }
"$(dirname "$wine")/wineserver" -p  # stays up between the probe's launches
cat >"$work/wiring-trainer" <<WRAP
#!/bin/sh
exec "$wine" "$win/wiring-trainer.exe"
WRAP
chmod +x "$work/wiring-trainer"
echo "== Windows edition under wine ($("$wine" --version))"
# Without a window manager Wine's X window is the client area, and the program puts the frame
# (4 px borders, a 19 px caption at 96 dpi) at the stored position: the client is 4, 23 further.
WT_BENCH_CLIENT_ORIGIN=${WT_BENCH_CLIENT_ORIGIN:-54,73} WT_BENCH_PROGRAM=$work/wiring-trainer \
    "$here/run.sh" "$@"
