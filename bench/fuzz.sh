#!/usr/bin/env bash
# Builds the fuzz targets (form reader, PNG, GIF, WAVE) with clang 14 and libFuzzer in build-fuzz/, seeds each with the
# files that the program embeds, runs each target for SECONDS and prints executions and crashes.
#   bench/fuzz.sh [SECONDS]        (default 60)
# Crash inputs are kept in build-fuzz/fuzz-out/<target>/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build-fuzz
out=$dir/fuzz-out
targets=(fuzz_form_reader fuzz_png fuzz_gif fuzz_wave)

# Each fuzz target compiles the decoder it drives with the fuzzer flags (tests/fuzz/CMakeLists.txt);
# wt_media is built for its asset files, which seed the corpora.
cmake -S . -B "$dir" -DWT_FUZZ=ON -DWT_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$dir" --target wt_media wt_form_resource "${targets[@]}" -j2 >/dev/null

seeds_for() {  # target -> file pattern of its seeds
    case $1 in
        fuzz_png) echo '*.png' ;;
        fuzz_gif) echo '*.gif' ;;
        fuzz_wave) echo '*.wav' ;;
        fuzz_form_reader) echo 'forms.bin' ;;
    esac
}

printf '%-10s %8s %12s %10s %8s\n' target seconds executions exec/s crashes
for t in "${targets[@]}"; do
    bin=$(find "$dir" -type f -name "$t" -perm -u+x | head -n 1)
    [ -n "$bin" ] || { echo "$t: not built" >&2; exit 1; }
    work=$out/$t
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/artifacts"
    find "$dir/generated" -maxdepth 2 -name "$(seeds_for "$t")" -exec cp {} "$work/corpus/" \;
    ASAN_OPTIONS=detect_leaks=1 "$bin" "$work/corpus" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        >"$work/log.txt" 2>&1 || true
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/log.txt" | grep -o '[0-9]*$' || true)
    # A run that stopped on a crash prints no final stats: take its last progress line.
    [ -n "$runs" ] || runs=$(grep -o '^#[0-9]*' "$work/log.txt" | tail -n 1 | tr -d '#' || true)
    crashes=$(find "$work/artifacts" -type f | wc -l)
    printf '%-10s %8s %12s %10s %8s\n' "$t" "$seconds" "${runs:-0}" \
        "$(( ${runs:-0} / (seconds > 0 ? seconds : 1) ))" "$crashes"
done
