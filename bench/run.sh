#!/usr/bin/env bash
# The real program against floors measured in the same run, under Xvfb; prints one table.
#   bench/run.sh [RUNS] [--only startup]   (default 5 runs; about four minutes, or seconds for
#                                           the start-up rows alone)
# Builds build-bench (Release, -DWT_BUILD_BENCH=ON): wiring-trainer and the floor programs
# empty_window, floor_windows, movie_box, and the probe that drives and times them.
# How it measures (details at the top of bench/probe.cpp): first paint is read from the X server
# by polling the pixels of the window's area about every millisecond until 95% of the pixels
# that change show their settled value; clicks are injected with XTest and timed from the button
# release; CPU share is the schedstat run time of all threads of the process while the motor
# animation plays (after a 7.5 s warm-up); peak RSS is VmHWM. The program has no timing hook.
# WT_BENCH_PROGRAM names another program to measure in place of build-bench's (bench/windows.sh
# passes the Windows edition under wine that way).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${WT_BENCH_BUILD:-$root/build-bench}
runs=${1:-5}
only=()
[ "${2:-}" = "--only" ] && only=(--only "${3:-startup}")
jobs=${WT_BENCH_JOBS:-2}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DWT_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$jobs" --target wiring-trainer empty_window floor_windows movie_box probe \
    >/dev/null

work=$(mktemp -d /tmp/wt-bench.XXXXXX)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }

export DISPLAY=:$(cat "$work/display")
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/runtime
export SDL_AUDIODRIVER=dummy
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset SESSION_MANAGER

echo "wiring-trainer: ${WT_BENCH_PROGRAM:-$build/wiring-trainer (Release)}; display $DISPLAY; load $(cut -d' ' -f1-3 /proc/loadavg)"
program=${WT_BENCH_PROGRAM:-$build/wiring-trainer}
"$build/bench/probe" --program "$program" --empty "$build/bench/empty_window" \
    --floor "$build/bench/floor_windows" --movie "$build/bench/movie_box" --runs "$runs" "${only[@]}" \
    2>"$work/probe.log" || { cat "$work/probe.log" >&2; exit 1; }
