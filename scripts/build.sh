#!/usr/bin/env bash
# Configures and builds Pelmora in ./build (tests included).
set -euo pipefail
cd "$(dirname "$0")/.."
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_BUILD_TESTS=ON)
if command -v ninja >/dev/null; then args+=(-G Ninja); fi
if command -v ccache >/dev/null; then args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${args[@]}" >/dev/null
else
  cmake -S . -B build >/dev/null
fi
cmake --build build --parallel "$(nproc)"
