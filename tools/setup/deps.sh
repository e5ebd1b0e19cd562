#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Sourced by run.sh, test.sh and web.sh.

# Installs every named package that is not installed yet (apt-get as root, otherwise sudo).
# Between wt_apt_batch and wt_apt_flush the packages are only collected, so that what several
# wt_install_* ask for comes in one apt-get update and one apt-get install.
wt_apt_pending=()
wt_apt_batching=0
wt_apt_updated=0
wt_apt_install() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ $wt_apt_batching -eq 1 ]; then
        wt_apt_pending+=("${missing[@]}")
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # Once per run: a second install (test.sh's background one) uses the same package lists.
    [ $wt_apt_updated -eq 1 ] || $sudo apt-get update -qq
    wt_apt_updated=1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
wt_apt_batch() { wt_apt_batching=1; }
wt_apt_flush() {
    wt_apt_batching=0
    [ ${#wt_apt_pending[@]} -eq 0 ] && return 0
    local all
    mapfile -t all < <(printf '%s\n' "${wt_apt_pending[@]}" | sort -u)
    wt_apt_pending=()
    wt_apt_install "${all[@]}"
}

# What building and running the desktop program needs.
wt_install_run_deps() {
    wt_apt_install \
        cmake ninja-build g++ make pkg-config git ccache \
        qt6-base-dev libgl-dev libxcb1-dev \
        libpng-dev zlib1g-dev libgif-dev \
        libsdl2-mixer-dev \
        fonts-wqy-microhei
}

# Everything the test suite needs besides: Xvfb and X tools for the walks, a real window
# manager, the accessibility bus, the packaging checkers, clang for fuzzing and the format check.
wt_install_deps() {
    wt_install_run_deps
    wt_apt_install \
        libgtest-dev \
        xvfb xdotool x11-utils libx11-dev imagemagick python3 \
        openbox \
        dbus dbus-x11 at-spi2-core python3-pyatspi \
        desktop-file-utils appstream dpkg-dev file \
        clang-14 libclang-rt-14-dev clang-format
}

# The browser edition: Debian's emscripten to build it, headless chromium to test it.
wt_install_web_deps() {
    wt_apt_install emscripten chromium python3-websocket
}

# The Windows edition: Debian's MinGW-w64 cross compiler and NSIS to build it, wine to test it.
wt_install_windows_deps() {
    wt_apt_install g++-mingw-w64-x86-64-posix nsis wine64
}
