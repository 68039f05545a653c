#!/usr/bin/env bash
# Runs a libFuzzer target on its corpus, building what is missing first:
#
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   scripts/fuzz.sh all SECONDS        every target in turn, SECONDS each
#
# Targets: bmp ico jpeg wmf emf cp932 phrasefile settings. The build lives in
# build-fuzz/ (clang, every library instrumented with libFuzzer's coverage,
# AddressSanitizer and UndefinedBehaviorSanitizer). The seeds in
# fuzz/corpus/<target>/ are read, never written: inputs that reach new code go
# to build-fuzz/corpus/<target>/, an input that fails a check or crashes to
# build-fuzz/findings/<target>/ (copy it into fuzz/corpus/<target>/ once the
# fault is mended), the output to build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(bmp ico jpeg wmf emf cp932 phrasefile settings)
if [ $# -lt 2 ] || ! [[ "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET|all SECONDS [libFuzzer options...]   (targets: ${targets[*]})" >&2
  exit 2
fi
what=$1
seconds=$2
shift 2
if [ "$what" = all ]; then
  chosen=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $what "* ]]; then
  chosen=("$what")
else
  echo "unknown target '$what' (targets: ${targets[*]})" >&2
  exit 2
fi

if [ "${PELMORA_FUZZ_BUILD:-1}" != 0 ]; then
# What the program needs, then clang with its sanitizer and libFuzzer
# runtimes.
bash scripts/install-deps.sh clang libclang-rt-dev

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  args=(-DCMAKE_BUILD_TYPE=Fuzz "-DCMAKE_CXX_FLAGS_FUZZ=-O1 -gline-tables-only"
        -DPELMORA_BUILD_FUZZ=ON -DPELMORA_BUILD_TESTS=OFF)
  if command -v ninja >/dev/null; then args+=(-G Ninja); fi
  if command -v ccache >/dev/null; then args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  CC=clang CXX=clang++ cmake -S . -B build-fuzz "${args[@]}" >/dev/null
fi
cmake --build build-fuzz --parallel "$(nproc)" --target "${chosen[@]/#/fuzz_}"
fi

status=0
summary=()
for target in "${chosen[@]}"; do
  mkdir -p "build-fuzz/corpus/$target" "build-fuzz/findings/$target" build-fuzz/logs
  log="build-fuzz/logs/$target.log"
  # A picture at the size limit (32 M pixels) from a file of a few bytes
  # takes tens of seconds under the sanitizers: that is no hang.
  options=(-max_total_time="$seconds" -rss_limit_mb=2560 -timeout=120 -print_final_stats=1
           -artifact_prefix="build-fuzz/findings/$target/")
  if [ -f "fuzz/$target.dict" ]; then options+=(-dict="fuzz/$target.dict"); fi
  echo "== $target: $seconds s, log $log"
  set +e
  # Qt keeps font and image-format caches to the end, which the leak checker
  # would report for every input; leaks are not looked for.
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" \
  UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
    "build-fuzz/fuzz/fuzz_$target" "${options[@]}" "$@" \
    "build-fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  if [ "$rc" -eq 0 ]; then result=clean; else result="FAILED (exit $rc, see $log)"; status=1; fi
  summary+=("$(printf '%-11s %6ss  execs %-10s cov %-6s ft %-7s %s' "$target" "$seconds" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$result")")
  echo "${summary[-1]}"
done
echo
printf '%s\n' "${summary[@]}"
exit $status
