#!/usr/bin/env bash
# Builds the Windows edition: build-win/wiring-trainer.exe, one statically linked GUI program
# (form resource and media inside), and, where the installer script is present,
# build-win/wiring-trainer-setup.exe.
#   ./windows.sh               installs what is missing, then builds
#   ./windows.sh --build-only  builds when the cross compiler is present, installs nothing
# The form resource and media are made natively by the desktop build's own tools (build/).
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup/deps.sh

build_only=0
[ "${1:-}" = "--build-only" ] && build_only=1

if [ $build_only -eq 1 ]; then
    if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
        echo "windows.sh: the MinGW-w64 cross compiler is not installed; the Windows edition is not built"
        exit 0
    fi
else
    wt_install_run_deps
    wt_install_windows_deps
fi

jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
# Only what the program embeds: the forms, the media and the icon of its resource script.
cmake --build build -j"$jobs" --target wt_forms wt_media icopack

# Configured every time (it is quick): a configure that failed half-way leaves a cache behind.
cmake -S ui/win32 -B build-win -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/ui/win32/mingw.cmake" \
    -DWT_GEN_DIR="$PWD/build/generated" \
    "${launcher[@]}" >/dev/null
cmake --build build-win -j"$jobs"
for f in build-win/wiring-trainer.exe build-win/wiring-trainer-setup.exe; do
    [ -f "$f" ] && echo "windows.sh: $(du -h "$f" | cut -f1) $f"
done
exit 0
