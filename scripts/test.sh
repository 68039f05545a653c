#!/usr/bin/env bash
# Installs what is missing, builds, runs the tests headless, then the desktop
# tests: the real windows under Xvfb with openbox and the Japanese locale,
# each on an X server of its own (tests/desktop/run-under-x.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --timeout 600 -j "$(nproc)" -LE desktop
ctest --output-on-failure --timeout 600 -j "$(nproc)" -L desktop
