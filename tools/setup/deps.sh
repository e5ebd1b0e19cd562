#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
# Sourced by run.sh and test.sh.
wt_install_deps() {
    local pkgs=(
        cmake g++ make pkg-config git
        qt6-base-dev libgl-dev
        libpng-dev zlib1g-dev libgif-dev
        libsdl2-mixer-dev
        libgtest-dev
        fonts-wqy-microhei
        xvfb xdotool x11-utils libx11-dev imagemagick python3
        clang-14 libclang-rt-14-dev
    )
    local missing=()
    for p in "${pkgs[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
