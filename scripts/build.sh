#!/usr/bin/env bash
# Configures and builds Pelmora in ./build (tests included).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_BUILD_TESTS=ON >/dev/null
cmake --build build --parallel "$(nproc)"
