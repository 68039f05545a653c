#!/usr/bin/env bash
# Configures and builds Pelmora in ./build, tests included, with warnings as
# errors. scripts/run.sh and scripts/test.sh both build here with this one
# configuration, so either after the other builds only what is not built yet.
# Targets given as arguments are built alone (run.sh builds the program).
# PELMORA_WERROR=OFF in the environment lets warnings pass; the folder is then
# configured so and rebuilt, and rebuilt again when it is ON once more.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=-DPELMORA_WERROR=${PELMORA_WERROR:-ON}
args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMORA_BUILD_TESTS=ON "$werror")
if command -v ninja >/dev/null; then args+=(-G Ninja); fi
if command -v ccache >/dev/null; then args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
if [ ! -f build/CMakeCache.txt ]; then
  echo "build: configuring build/ (CMake looks for Qt, ICU, libjpeg and libUEMF)..."
  cmake -S . -B build "${args[@]}" >/dev/null
else
  cmake -S . -B build "$werror" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
echo "build: compiling in build/ (a first build compiles about 300 files; later builds only what changed)..."
cmake --build build --parallel "$(nproc)" "${targets[@]}"
