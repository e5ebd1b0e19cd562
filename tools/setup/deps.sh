#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Sourced by run.sh, test.sh and web.sh.

# Installs every named package that is not installed yet (apt-get as root, otherwise sudo).
wt_apt_install() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the desktop program needs.
wt_install_run_deps() {
    wt_apt_install \
        cmake g++ make pkg-config git ccache \
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
        desktop-file-utils appstream lintian dpkg-dev file \
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
