#!/bin/sh
# Runs every benchmark program of BUILD/bench (BENCH_ARGS are passed to each),
# then counts the instructions of a Compose job with callgrind.
# Usage: bench/run_benchmarks.sh [BUILD]
build=${1:-build}
status=0
for program in "$build"/bench/*_bench; do
  [ -x "$program" ] || continue
  echo
  echo "== $(basename "$program")"
  # shellcheck disable=SC2086
  "$program" $BENCH_ARGS || status=1
done
echo
echo "== composer instructions (callgrind)"
"$(dirname "$0")"/callgrind_compose.sh "$build"/zelvo || status=1
exit $status
