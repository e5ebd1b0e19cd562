#!/usr/bin/env bash
# Builds the browser edition: build-web/wiring-trainer.html, one self-contained page (program,
# form resource and media inside) that runs from file:// with no server and no network.
#   ./web.sh               installs what is missing, then builds
#   ./web.sh --build-only  builds when emscripten is present, installs nothing (used by test.sh)
# The form resource and media are made natively by the desktop build's own tools (build/).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup/deps.sh

build_only=0
[ "${1:-}" = "--build-only" ] && build_only=1

if [ $build_only -eq 1 ]; then
    if ! command -v emcmake >/dev/null; then
        echo "web.sh: emscripten is not installed; the browser edition is not built"
        exit 0
    fi
else
    wt_install_run_deps
    wt_install_web_deps
fi

# Debian's emscripten runs its Python scripts with the first python3 on PATH and needs Debian's
# node packages.
export PATH=/usr/bin:$PATH
export NODE_PATH=/usr/share/nodejs
jobs=$(nproc)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
# Only what the page embeds: the compiled forms, the media and the generated texts.
cmake --build build -j"$jobs" --target wt_forms wt_media

if [ ! -f build-web/CMakeCache.txt ]; then
    emcmake cmake -S ui/web -B build-web -DCMAKE_BUILD_TYPE=Release \
        -DWT_GEN_DIR="$PWD/build/generated" >/dev/null
fi
cmake --build build-web -j"$jobs"
echo "web.sh: $(du -h build-web/wiring-trainer.html | cut -f1) build-web/wiring-trainer.html"
