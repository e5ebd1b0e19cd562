#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. the format check: every C/C++ file as .clang-format says (the files that differ are named);
#   2. the whole suite (unit, widget and end-to-end tests under Xvfb, the browser edition in
#      headless Chromium) on the normal build, and the Windows edition under wine (its own stage);
#   3. the whole suite again under ASan + UBSan (the walks drive the sanitized program);
#   4. the threading tests and the jog walks under TSan. Qt is not instrumented: TSan is told to
#      ignore accesses made inside Qt's own code, while every access of ours stays checked.
# Every build treats a compiler warning as an error. The builds use Ninja and unity builds; the
# sanitizer builds compile the program at -O1 and the tests' own code at -Og, with line tables
# only, reuse the normal build's generated files and build-time tools (WT_HOST_BUILD), and build
# only what their tests run. ccache is used when it is installed. After the normal build, the
# browser edition, ASan and TSan builds run one after the other in the background at a lower
# priority, while the tests, which mostly wait on Xvfb and the programs, run in the foreground;
# each tests stage starts when its build is done.
# The time of each stage is printed at the end (the background ones apart: they overlap).
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
# Stages that run in the background, niced, while the foreground runs tests that mostly wait on
# Xvfb and the programs: the builds take the cores the tests leave idle. Each side stage runs
# after the previous one (one build at a time); join_stage waits for one and shows its output.
# Job control gives each one a process group of its own, which an early exit ends with it.
set -m
side_names=()
side_pids=()
side_logs=()
side_last=""
end_side_stages() {
    local pid
    for pid in "${side_pids[@]}"; do
        kill -- -"$pid" 2>/dev/null || true
    done
}
trap end_side_stages EXIT
side_stage() {  # name, command...
    local name=$1 log
    shift
    log=$(mktemp /tmp/wt-stage.XXXXXX)
    echo "== $name (in the background)"
    (
        if [ -n "$side_last" ]; then
            while kill -0 "$side_last" 2>/dev/null; do sleep 1; done
        fi
        start=$(date +%s)
        rc=0
        renice -n 10 -p $BASHPID >/dev/null  # commands and shell functions alike
        "$@" >"$log" 2>&1 || rc=$?
        echo $(($(date +%s) - start)) >"$log.time"
        exit $rc
    ) &
    side_last=$!
    side_names+=("$name")
    side_pids+=($!)
    side_logs+=("$log")
}
side_times=()
join_stage() {  # name
    local i rc=0
    for i in "${!side_names[@]}"; do
        [ "${side_names[$i]}" = "$1" ] || continue
        stage "Waiting for: $1"  # the time the foreground had nothing left to run
        # The foreground now only waits: the build gets its full share back (where allowed).
        renice -n 0 -g "${side_pids[$i]}" >/dev/null 2>&1 || true
        wait "${side_pids[$i]}" || rc=$?
        echo "== $1 (joined)"
        cat "${side_logs[$i]}"
        side_times[$i]=$(cat "${side_logs[$i]}.time" 2>/dev/null || echo 0)
        rm -f "${side_logs[$i]}" "${side_logs[$i]}.time"
        if [ $rc -ne 0 ]; then
            echo "== $1 failed"
            exit $rc
        fi
    done
}
report() {
    stage_times+=($(($(date +%s) - stage_start)))
    echo "== Stage times"
    local i
    for i in "${!stage_names[@]}"; do
        printf '   %-40s %5d s\n' "${stage_names[$i]}" "${stage_times[$i]}"
    done
    for i in "${!side_times[@]}"; do
        printf '   %-40s %5d s\n' "${side_names[$i]} (background)" "${side_times[$i]}"
    done
    printf '   %-40s %5d s\n' "total" $(($(date +%s) - all_start))
}

stage "Dependencies"
source tools/setup/deps.sh
wt_install_deps  # one apt-get run for what the desktop build and its tests need
# The browser and Windows editions' compilers, chromium and wine come in the background, while
# the desktop build runs; their builds, the next side stages, start after it.
other_editions_deps() {
    wt_apt_batch
    wt_install_web_deps
    wt_install_windows_deps
    wt_apt_flush
}
side_stage "Dependencies of the other editions" other_editions_deps

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
    # Ninja for a new build directory (it keeps both cores busy across targets); one made
    # earlier keeps its generator.
    local generator=()
    [ ! -f "$dir/CMakeCache.txt" ] && command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWT_WARNINGS_AS_ERRORS=ON \
        -DCMAKE_UNITY_BUILD=ON "${launcher[@]}" "$@" >/dev/null
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
# Line tables only (-g1): backtraces keep function, file and line; the tests need no more.
configure build -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build build -j"$jobs"

# From here on the builds run in the background, one after the other, while the tests run.
side_stage "Browser edition build" ./web.sh --build-only  # from build/generated
# The Windows edition, cross-compiled and driven under wine, where the cross compiler and wine are.
# Its tests mostly wait on wine and run two at a time: they go right after the browser's, beside
# the ASan build, so that they fill the cores that build leaves idle.
# (windows.sh builds nothing without the cross compiler; the tests skip themselves without wine.)
side_stage "Windows edition build" ./windows.sh --build-only
if [ $fast -eq 0 ]; then
    asan_build() {
        configure build-asan -DWT_SANITIZE=address -DWT_HOST_BUILD="$PWD/build"
        cmake --build build-asan -j"$jobs"
    }
    side_stage "ASan + UBSan build" asan_build
    tsan_build() {  # only what the TSan tests run
        configure build-tsan -DWT_SANITIZE=thread -DWT_HOST_BUILD="$PWD/build"
        cmake --build build-tsan -j"$jobs" --target wt_threads_suite
    }
    side_stage "TSan build" tsan_build
fi
stage "Tests"
# All but the tests that drive what a background build makes (labels web, windows): those run
# once their build is joined. Another edition's build goes in as one more side_stage.
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300 -LE '^(web|windows)$'
join_stage "Dependencies of the other editions"
join_stage "Browser edition build"
stage "Browser edition tests"  # the tests labelled web drive the page
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300 -L '^web$'
join_stage "Windows edition build"
stage "Windows edition tests"  # two walks at a time, in wine prefixes of their own
ctest --test-dir build --output-on-failure -j2 --timeout 300 -L '^windows$'

if [ $fast -eq 0 ]; then
    join_stage "ASan + UBSan build"
    stage "ASan + UBSan tests"
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
    join_stage "TSan build"
    stage "TSan tests"
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1 \
        ctest --test-dir build-tsan --output-on-failure -j"$jobs" --timeout 600 -L "threads|jogwalk"
fi
report
echo "== All tests passed"
