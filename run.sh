#!/usr/bin/env bash
# Installs what is missing, builds, and starts the trainer.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup/deps.sh
wt_install_deps
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target wiring-trainer
exec ./build/wiring-trainer
