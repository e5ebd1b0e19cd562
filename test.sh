#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. the format check: every C/C++ file as .clang-format says (the files that differ are named);
#   2. the whole suite (unit, widget and end-to-end tests under Xvfb, the browser edition in
#      headless Chromium) on the normal build, and the Windows edition under wine (its own stage);
#   3. the whole suite again under ASan + UBSan (the walks drive the sanitized program);
#   4. the threading tests and the jog walks under TSan. Qt is not instrumented: TSan is told to
#      ignore accesses made inside Qt's own code, while every access of ours stays checked.
# Every build treats a compiler warning as an error. The sanitizer builds reuse the normal build's
# generated files and build-time tools (WT_HOST_BUILD), and the TSan build compiles only what its
# tests run. ccache is used when it is installed. The time of each stage is printed at the end.
# ./test.sh --fast runs steps 1 and 2 only.
set -euo pipefail
cd "$(dirname "$0")"

stage_names=()
stage_times=()
stage_start=$(date +%s)
all_start=$stage_start
stage() {  # name of the stage that starts now
    local now
    now=$(date +%s)
    if [ ${#stage_names[@]} -gt 0 ]; then
        stage_times+=($((now - stage_start)))
    fi
    stage_start=$now
    stage_names+=("$1")
    echo "== $1"
}
report() {
    stage_times+=($(($(date +%s) - stage_start)))
    echo "== Stage times"
    local i
    for i in "${!stage_names[@]}"; do
        printf '   %-28s %5d s\n' "${stage_names[$i]}" "${stage_times[$i]}"
    done
    printf '   %-28s %5d s\n' "total" $(($(date +%s) - all_start))
}

stage "Dependencies"
source tools/setup/deps.sh
wt_install_deps
wt_install_web_deps
wt_install_windows_deps

jobs=$(nproc)
fast=0
[ "${1:-}" = "--fast" ] && fast=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/wt-runtime.XXXXXX)}
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Hits across clones and build directories: paths below the tree are hashed relative to it.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi

configure() {  # dir, extra cmake args...
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWT_WARNINGS_AS_ERRORS=ON \
        "${launcher[@]}" "$@" >/dev/null
}

stage "Format check"
# One clang-format run over every file; it names each file that differs in its messages.
mapfile -t unformatted < <(git ls-files -z '*.c' '*.cpp' '*.h' |
    xargs -0 clang-format --dry-run -Werror 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' |
    sort -u)
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted as .clang-format says (run clang-format -i on them):"
    printf '   %s\n' "${unformatted[@]}"
    exit 1
fi

stage "Build"
configure build
cmake --build build -j"$jobs"
stage "Browser edition build"
./web.sh --build-only  # from build/generated; the tests labelled web drive it
# The Windows edition, cross-compiled and driven under wine, where the cross compiler and wine are.
if command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -x /usr/lib/wine/wine64 ]; then
    stage "Windows edition"
    ./windows.sh --build-only
    ctest --test-dir build --output-on-failure -L windows --timeout 300
fi
stage "Tests"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300 -LE windows

if [ $fast -eq 0 ]; then
    stage "ASan + UBSan build"
    configure build-asan -DWT_SANITIZE=address -DWT_HOST_BUILD="$PWD/build"
    cmake --build build-asan -j"$jobs"
    stage "ASan + UBSan tests"
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
    stage "TSan build"
    configure build-tsan -DWT_SANITIZE=thread -DWT_HOST_BUILD="$PWD/build"
    cmake --build build-tsan -j"$jobs" --target wt_threads_suite
    stage "TSan tests"
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1 \
        ctest --test-dir build-tsan --output-on-failure -j"$jobs" --timeout 600 -L "threads|jogwalk"
fi
report
echo "== All tests passed"
