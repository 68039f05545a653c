#!/usr/bin/env bash
# Configures and builds Pelmora in ./build (tests included).
# PELMORA_WERROR=ON in the environment makes warnings errors (the test run).
set -euo pipefail
cd "$(dirname "$0")/.."
werror=-DPELMORA_WERROR=${PELMORA_WERROR:-OFF}
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_BUILD_TESTS=ON "$werror")
if command -v ninja >/dev/null; then args+=(-G Ninja); fi
if command -v ccache >/dev/null; then args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${args[@]}" >/dev/null
else
  cmake -S . -B build "$werror" >/dev/null
fi
cmake --build build --parallel "$(nproc)"
