#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. the whole suite (unit, widget and end-to-end tests under Xvfb) on the normal build;
#   2. the whole suite again under ASan + UBSan (the walks drive the sanitized program);
#   3. the threading tests and the jog walks under TSan. Qt is not instrumented: TSan is told to
#      ignore accesses made inside Qt's own code, while every access of ours stays checked.
# ./test.sh --fast runs step 1 only.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup/deps.sh
wt_install_deps
wt_install_web_deps

jobs=$(nproc)
fast=0
[ "${1:-}" = "--fast" ] && fast=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/wt-runtime.XXXXXX)}
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

build() {  # dir, extra cmake args...
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

start=$(date +%s)
echo "== Build"
build build
./web.sh --build-only  # the browser edition, for the tests labelled web
echo "== Tests"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300

if [ $fast -eq 0 ]; then
    echo "== ASan + UBSan"
    build build-asan -DWT_SANITIZE=address
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
    echo "== TSan"
    build build-tsan -DWT_SANITIZE=thread
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1 \
        ctest --test-dir build-tsan --output-on-failure -j"$jobs" --timeout 600 -L "threads|jogwalk"
fi
echo "== All tests passed in $(( $(date +%s) - start )) s"
